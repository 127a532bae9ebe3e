// The templates the menu appends below the last line: samples and skeletons
// of ASP, JavaScript, Perl and VBScript.
#include "shell/menu/MenuTable.h"

#include <initializer_list>
#include <utility>

namespace vx::shell::menu {

namespace {

using Lines = std::initializer_list<std::string_view>;

// "@" marks the line that carries the version banner.
constexpr std::string_view Banner = "@";

struct TTemplate {
    std::string_view Name;
    Lines Text;
};

const TTemplate Templates[] = {
    {"Select case",
     {"", "<%", " Select case(<variable>)", R"~(  Case "<variable>" )~", R"~(   response.write " text or routine call goes here")~",
      R"~(  Case "<variable>" )~", R"~(   response.write " text or routine call goes here")~", " end Select", "%>", ""}},
    {"For Loop", {"for ()", " {", "  }"}},
    {"Function", {"function new_function ()", " {", "  }"}},
    {"If", {"If()", " {", "  }"}},
    {"While", {"While ()", " {", "  }"}},
    {"With", {"With ()", " {", "  }"}},
    {"If .. Else", {"If()", " {", "  } else {", " }"}},
    {"Minimal Perl",
     {"#!/usr/local/bin/perl", "", "# -----------------------------------------------------------", Banner,
      "# -----------------------------------------------------------", "", "",
      R"~(print "Content-type: text/html\n\n";)~", R"~(print "<html>\n";)~", R"~(print " <head>\n";)~",
      R"~(print "  <title></title>\n";)~", R"~(print" </head>\n";)~", "",
      "# -----------------------------------------------------------"}},
    {"Perl Email routine",
     {"# Email routine", R"~(# To use add "&email(to,from,subject,text)" to your script)~",
      "# remember to backslash the @ when you are not using it in an array", "# Eg.",
      R"~(# $to='someone\@example.com';)~", R"~(# $from='webmaster\@example.com';)~", "# $subject='Just to ask';",
      R"~(# $text='Hello,\n\nThank you for buying Vellumix';)~", "# &email($to,$from,$subject,$text);", "",
      "sub email {", "local($to,$from,$sub,$letter) = @_;", R"~($to=~s/@/\@/;)~", R"~($from=~s/@/\@/;)~",
      R"~(open(MAIL, "|/usr/lib/sendmail -t") || die)~", R"~("Content-type: text/text\n\nCan't open /usr/lib/sendmail!";)~",
      R"~(print MAIL "To: $to\n";)~", R"~(print MAIL "From: $from\n";)~", R"~(print MAIL "Subject: $sub\n";)~",
      R"~(print MAIL "$letter\n";)~", "return close(MAIL);", "}"}},
    {"Parse routine",
     {"sub readparse {", "read(STDIN,$user_string,$ENV{'CONTENT_LENGTH'});",
      "if (length($ENV{'QUERY_STRING'})>0) {$user_string=$ENV{'QUERY_STRING'}};", R"~($user_string =~ s/\+/ /g;)~",
      "@name_value_pairs = split(/&/,$user_string);", "foreach $name_value_pair (@name_value_pairs) {",
      "        ($keyword,$value) = split(/=/,$name_value_pair);",
      R"~(        $value =~ s/%([a-fA-F0-9][a-fA-F0-9])/pack("C",hex($1))/ge;)~", R"~(        push(@value, "$value");)~",
      "\t  $user_data{$keyword} = $value;", "\t  if ($value=~/<!--\\#exec/) {",
      "\t\tprint \"Content-type: text/html\\n\\nNo SSI permitted\";", "\t\texit;", "\t  };", "};", "};"}},
    {"Check Email",
     {"Function IsEmail(sCheckEmail)", "    Dim sEmail, nAtLoc", "    IsEmail = True", "    sEmail = Trim(sCheckEmail)",
      R"~(    nAtLoc = InStr(1, sEmail, "@"))~", "",
      R"~(    If Not (nAtLoc > 1 And (InStrRev(sEmail, ".") > nAtLoc + 1)) Then)~", "        IsEmail = False",
      R"~(    ElseIf InStr(nAtLoc + 1, sEmail, "@") > nAtLoc Then)~", "        IsEmail = False",
      R"~(    ElseIf Mid(sEmail, nAtLoc + 1, 1) = "." Then)~", "        IsEmail = False",
      R"~(    ElseIf InStr(1, Right(sEmail, 2), ".") > 0 Then)~", "        IsEmail = False", "    End If", "End Function",
      "", R"~(Rem usage: IsEmail("someone@example.com") returns True)~",
      R"~(Rem IsEmail("someone@example.") returns False)~", ""}},
    {"Error trapping",
     {"<%", "If err.number > 0 Then", R"~(Response.write("VBScript Errors Occured:" & "<P>"))~",
      R"~(Response.write("Error Number=" & err.number & "<P>"))~",
      R"~(Response.write("Error Descr.=" & err.description & "<P>"))~",
      R"~(Response.write("Help Context=" & err.helpcontext & "<P>"))~",
      R"~(Response.write("Help Path=" & err.helppath & "<P>"))~",
      R"~(Response.write("Native Error=" & err.nativeerror & "<P>"))~", R"~(Response.write("Source=" & err.source & "<P>"))~",
      R"~(Response.write("SQLState=" & err.sqlstate & "<P>"))~", "Else",
      R"~(Response.write("No VBScript Errors Occured" & "<P>"))~", "End If", "If conn.errors.count> 0 then",
      R"~(Response.write("Database Errors Occured" & "<P>"))~", "For counter= 0 to conn.errors.count - 1",
      R"~(Response.write("Error #" & conn.errors(counter).number & "<P>"))~",
      R"~(Response.write("Error desc. -> " & conn.errors(counter).description & "<P>"))~", "Next", "Else",
      R"~(Response.write "No Database Errors Occured!" & "<P>")~", "End If", "%>"}},
    {"Goodmorning",
     {"<!--", R"~(<SCRIPT LANGUAGE="vbscript">)~", "Function DoWelcome()", "Dim iHour", "Dim sGreet", "iHour = Hour(Now)",
      "If iHour >= 0 and iHour < 12 Then", R"~(sGreet = "Good Morning!")~", "Else", " If iHour >= 12 and iHour < 18 Then",
      R"~( sGreet = "Good Afternoon!")~", " Else", R"~( sGreet = "Good Evening!")~", " End If", "End If",
      "DoWelcome = sGreet", "End function", "</script>", "-->"}},
    {"Proper Case",
     {"<%", "", "Function ProperCase(sString)", "  Dim sWhiteSpace, bCap, iCharPos, sChar",
      "  sWhiteSpace = Chr(32) & Chr(9) & Chr(13)", "  sString = LCase(sString)", "  bCap = True",
      "  For iCharPos = 1 to Len(sString)", "    sChar = Mid(sString, iCharPos, 1)", "    If bCap = True Then",
      "      sChar = UCase(sChar)", "    End If", "     ProperCase = ProperCase + sChar",
      "    If InStr(sWhiteSpace, sChar) Then", "      bCap = True", "    Else", "      bCap = False", "    End If", "  Next",
      "End Function          ", "%>"}},
    {"ROT 13",
     {"Function rot13(rot13text)", R"~(   rot13text_rotated = "")~", "   For i = 1 to Len(rot13text)",
      "      j = Mid(rot13text, i, 1)", "      k = Asc(j)", "      if k >= 97 and k =< 109 then", "         k = k + 13",
      "      elseif k >= 110 and k =< 122 then", "         k = k - 13", "      elseif k >= 65 and k =< 77 then",
      "         k = k + 13", "      elseif k >= 78 and k =< 90 then", "         k = k - 13", "      end if",
      "   rot13text_rotated = rot13text_rotated & Chr(k)", "  Next", "rot13 = rot13text_rotated", "End Function", "",
      "' here is a little sample ", R"~(Response.Write rot13("Hello World"))~", ""}},
    {"Strip html tags",
     {"Function StripHTMLTag(ByVal sText)", R"~(   StripHTMLTag = "")~", "   fFound = False",
      R"~(   Do While InStr(sText, "<"))~", "      fFound = True",
      R"~(      StripHTMLTag = StripHTMLTag & " " & Left(sText, InStr(sText, "<")-1))~",
      R"~(      sText = MID(sText, InStr(sText, ">") + 1))~", "   Loop", "   StripHTMLTag = StripHTMLTag & sText",
      "   If Not fFound Then StripHTMLTag = sText", "End Function"}},
    {"Add to favourite folder",
     {R"~(<a onclick='window.external.AddFavorite(parent.location.href, document.title);' class="menu"><font color="black" face="arial" size=1>Click here to add this site to your favorites</A>)~"}},
    {"Last modified on",
     {"<small>", " Last Updated:", " <script>", "  <!--//hide", "   document.write(document.lastModified);",
      "  //end hide-->", " </script>", "</small>"}},
    {"Popup Window",
     {Banner, R"~(  <script language="JavaScript">)~",
      "   config='toolbar=no,location=no,directories=no,status=no,menubar=no,width=200,height=150'",
      "   config += 'scrollbars=no,resizable=no'", R"~(   pop = window.open ("","pop",config))~",
      R"~(   pop.document.write('<script language="javascript">');)~", "   pop.document.write('setTimeout(');",
      R"~(   pop.document.write('"self.close()');)~", R"~(   pop.document.write(';",3000)');)~",
      "   pop.document.write('</');", "   pop.document.write('script>');",
      "   pop.document.write('<body bgcolor=cyan>');",
      "   pop.document.write('<center><b><h2>Welcome</h2></b></center>');",
      "   pop.document.write('<center><b><h3>Please Wait... While This Page Loads</h3></b></center>');",
      "   pop.document.write('<center><b><h6>This Window Will Close Itself...</h6></b></center>');",
      "   pop.document.write('</body>');", " </script>", "<!-- end of script -->"}},
};

std::string BannerLine(std::string_view name, std::string_view version)
{
    if (name == "Minimal Perl")
        return "# Created with Vellumix " + std::string(version) + " ";
    return "<!-- script generated by Vellumix " + std::string(version) + " -->";
}

} // namespace

std::vector<std::string> TemplateLines(std::string_view name, std::string_view version)
{
    std::vector<std::string> lines;
    for (const TTemplate& t : Templates) {
        if (t.Name != name)
            continue;
        for (std::string_view line : t.Text)
            lines.push_back(line.data() == Banner.data() ? BannerLine(name, version) : std::string(line));
    }
    return lines;
}

} // namespace vx::shell::menu
