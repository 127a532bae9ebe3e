<%@ Language=VBScript %>
<%
' Greets the visitor and lists today's orders.
Dim conn, rs, total
Set conn = Server.CreateObject("ADODB.Connection")
conn.Open "DSN=shop"
Set rs = conn.Execute("SELECT id, customer, amount FROM orders")
total = 0
%>
<html>
<head>
  <title>Orders &amp; customers</title>
  <!-- the page is built on the server -->
  <meta name="author" content="Vellumix">
</head>
<body bgcolor="#FFFFFF">
  <h1>Hello, <%= Request.QueryString("name") %>!</h1>
  <table border="1" cellpadding="4">
<% Do While Not rs.EOF %>
    <tr><td><%= rs("id") %></td><td><%= rs("customer") %></td></tr>
<%   total = total + rs("amount")
     rs.MoveNext
   Loop %>
  </table>
  <p>Total: <b><%= total %></b> &copy; 2026</p>
</body>
</html>
