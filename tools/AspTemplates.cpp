// The ASP generators' texts.
#include "tools/AspTemplates.h"

#include "tools/Banner.h"
#include "tools/ScriptQuoting.h"

namespace vx::tools {

namespace {

void Append(TLines& out, std::initializer_list<std::string> lines)
{
    out.insert(out.end(), lines);
}

std::string Quoted(const std::string& text)
{
    return "\"" + VBQuoted(text) + "\"";
}

} // namespace

TLines CookieLines(const std::string& name, const std::string& expires, const std::string& path)
{
    const std::string cookie = " Response.Cookies(" + Quoted(name) + ")";
    return {"<%",
            cookie + " = \"\"",
            cookie + ".Expires = " + Quoted(expires),
            cookie + ".Domain = \"\"",
            cookie + ".Path = " + Quoted(path),
            cookie + ".Secure = FALSE",
            "%>"};
}

TLines CookieDetectLines(const std::string& f, bool sampleCall)
{
    TLines out{"<%",         "",         " Function " + f + "()", "  if (Request.Cookies)=\"\" Then",
               "     " + f + " = false", "      else",            "     " + f + " = true",
               "  end if",   " end function", ""};
    if (sampleCall)
        Append(out, {"", " Rem Sample call of cookie detect routine", "",
                     "if " + f + " then response.write \"Cookies supported\"",
                     "if not " + f + " then response.write \"Cookies not supported\"", ""});
    out.push_back("%>");
    return out;
}

TLines CounterLines(const std::string& counterFile, const std::string& f, bool show)
{
    TLines out{"<%", "", std::string("'Counter generated with Vellumix Professional ") + VersionTag, "",
               "Function " + f + "(Display)",
               " Set Fcount = CreateObject(\"Scripting.FileSystemObject\")",
               " Act_CFile = Server.MapPath (" + Quoted(counterFile) + ")",
               " Set CounterFile = fcount.OpenTextFile(Act_CFile)", " Counter = CLng(Counterfile.ReadLine)",
               " Counter = Counter + 1", " CounterFile.Close",
               " Set CounterFile = Fcount.CreateTextFile(Act_CFile, True)", " CounterFile.WriteLine (counter)",
               " CounterFile.Close",
               " If Display=\"TRUE\" then Response.Write (counter&\" People visited this page.\")", "End Function",
               ""};
    if (show)
        Append(out, {"Rem call Function and displaying the count", "Call " + f + "(\"TRUE\")"});
    else
        Append(out, {"Rem call Function without displaying the count", "Call " + f + "(\"FALSE\")"});
    out.push_back("%>");
    return out;
}

const std::array<const char*, 17> ResponseItems = {
    "AddHeader(\"\",\"\")", "AppendToLog", "BinaryWrite", "Buffer =", "CacheControl",
    "Charset = \"Charset_Name\"", "Clear", "ContentType = \":\"", "Cookies(\"my_cookie\") = \"my_variable\"", "End",
    "Expires = ", "ExpiresAbsolute = ", "Flush", "IsClientConnected", "Redirect(\"\")", "Status", "Write \"\""};

std::string ResponseLine(const std::string& item)
{
    return "<% Response." + item + " %>";
}

std::string AdoQueryStart(const std::string& sqlName)
{
    return sqlName + " = \"select * from\"";
}

TLines AdoLines(const TAdoFields& f)
{
    std::string query;
    for (const std::string& line : f.Query)
        query += line;
    return {"<%",
            " set " + f.Connection + "= Server.CreateObject(\"ADODB.Connection\")",
            " " + f.Connection + ".open \" DSN=" + VBQuoted(f.Dsn) + "\"",
            " " + query + " ",
            " set " + f.RecordSet + " = " + f.Connection + ".execute(" + f.SqlName + ")",
            "%>",
            " "};
}

TLines DsnLessLines(const TDsnLessFields& f)
{
    return {"<%",
            " Set connection = Server.CreateObject(\"ADODB.Connection\")",
            " Set " + f.RecordSet + "= Server.CreateObject(\"ADODB.RecordSet\")",
            " ",
            " " + f.Connection + " = \"DRIVER={Microsoft Access Driver (*.mdb)}; DBQ=" + VBQuoted(f.Database) + "\"",
            " connection.open " + f.Connection,
            " " + f.SqlName + " = " + f.Query,
            " set " + f.Connection + " = connection.execute(" + f.SqlName + ")",
            "%>",
            "",
            "<%",
            " " + f.Connection + ".close",
            " connection.close",
            "%>"};
}

TLines MailFormLines(const std::string& recipient)
{
    return {"<%",
            "Rem <!-- form generated with Vellumix Profesional -->",
            "Rem <!-- make sure the file sendmail.asp is in the same directory -->",
            "",
            "  recipient =" + Quoted(recipient),
            "  session(\"toname\") = recipient",
            "  response.write\"<pre>\"&chr(13)",
            "  response.write\"<form action ='sendmail.asp' method=get>\"",
            "  response.write\"Your name          <Input NAME='name'     size=35><br>\"",
            "  response.write\"Your email address <Input NAME='address'  size=35><br>\"",
            "  response.write\"Subject            <Input NAME='subject'  size=35><br>\"",
            "  response.write\"<Input NAME='key' type='hidden' value='\"&searchword&\"' size=40><br>\"",
            "  response.write vbcrlf&\"Type your message here<br>\"",
            "  response.write\"<textarea name='body' rows=20 cols=54></textarea>\"",
            "  response.Write \"</pre><p>\"",
            "  response.write\"<p><table width='100%' border=0><td align=left><Input value='Send message' "
            "type=submit></td><td align=right><Input value='Clear fields' type=reset></td></table></p>\"",
            "  response.write\"</form>\"&chr(13)",
            "%>",
            ""};
}

TLines MassMailLines(const TMassMailFields& f)
{
    std::string body;
    for (const std::string& line : f.Message)
        body += MassMailBodyLine(line);
    body += "\" \"";
    const std::string field = "MyMsg(" + Quoted(f.Field) + ")";
    TLines out{"<%", "", std::string("Rem Script Build and generated with Vellumix Professional ") + VersionTag, ""};
    Append(out, {" Set Conn=Server.CreateObject(\"ADODB.Connection\")", " Conn.Open \"PROVIDER=MSDASQL;\" &",
                 " \"DRIVER={Microsoft Access Driver (*.mdb)}; \" &",
                 " \"DBQ=\" & server.mappath(" + Quoted(f.Database) + ")"});
    Append(out, {" SQLString=\"Select * from " + VBQuoted(f.Table) + "\"", " Set MyMsg=Conn.Execute(SQLString)", "%>",
                 "", ""});
    Append(out, {"<%", " MyMsg.MoveFirst", " Msg_var = \"\"", " Delim   = \"\"", "  Do while not MyMsg.eof",
                 "   If Not IsNull(" + field + ") Then", "    Msg_Var= Msg_Var & Delim & " + field,
                 "    Delim = \"; \"", "   End If", "   MyMsg.movenext", "  Loop", "%>"});
    Append(out, {"<%", "", " Msg_Body =" + body, "", "%>", ""});
    Append(out, {"<%", " Set Snd_Msg = Server.CreateObject(\"CDONTS.NewMail\")",
                 " Snd_Msg.To      = " + Quoted(f.SenderAddress), " Snd_Msg.From    = " + Quoted(f.SenderAddress),
                 " Snd_Msg.Subject = " + Quoted(f.Subject), "", "%>", ""});
    Append(out, {"<%", " Snd_Msg.Bcc  = chr(34) & Msg_Var & chr(34)", " Snd_Msg.Body = Msg_body", " Snd_Msg.Send", "",
                 "%>", ""});
    Append(out, {"<%", "", " Response.Write \"Your message was sent to  : \" & Msg_Var", "%>", "", ""});
    Append(out, {"<%", " MyMsg.close", " Set MyMsg= Nothing", " Conn.Close", " Set Conn=nothing",
                 " Set Snd_Msg=Nothing", "", "%>"});
    return out;
}

std::string MassMailBodyLine(const std::string& line)
{
    return " " + Quoted(line) + "&VbCrLf&";
}

TLines ColdMailLines(const std::string& to, const std::string& from, const std::string& subject, const TLines& body)
{
    TLines out{"<cfmail To=\"" + to + "\" From=\"" + from + "\" Subject=\"" + subject + "\">"};
    out.insert(out.end(), body.begin(), body.end());
    out.push_back("</cfmail>");
    return out;
}

} // namespace vx::tools
