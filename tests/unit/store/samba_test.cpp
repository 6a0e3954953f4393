#include "store/samba.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>

namespace {

const std::string kTail = std::string(70, '#') + R"(
if [ "$workgroup" != "" ]; then
    wkgcmd="-W"
else
    wkgcmd=""
fi

if [ "$translate" = "yes" ]; then
    command="translate ; print -"
else
    command="print -"
fi

cat | /usr/bin/smbclient $share -U $username%$password $wkgcmd $workgroup -c "$command"
)";

SambaSettings settings(const std::string& server, const std::string& printer,
                       const std::string& user, const std::string& password,
                       const std::string& workgroup, bool translate) {
  SambaSettings s;
  s.server = server, s.printer = printer, s.user = user, s.password = password;
  s.workgroup = workgroup, s.translate = translate;
  return s;
}

TEST(FormatSambaScript, ByteExactAndHostileValuesQuoted) {
  EXPECT_EQ(formatSambaScript(settings("10.0.0.5", "laser", "bob", "s3cr=t", "", true)),
            R"(#!/bin/sh
hostip=10.0.0.5
printer=laser
share=//10.0.0.5/laser
username=bob
password=s3cr=t
workgroup=
translate=yes
)" + kTail);
  EXPECT_EQ(formatSambaScript(settings("srv", "p", "u@dom", "x", "WG", false)),
            "#!/bin/sh\nhostip=srv\nprinter=p\nshare=//srv/p\nusername=u@dom\npassword=x\n"
            "workgroup=WG\n" +
                kTail);
  const std::string script =
      formatSambaScript(settings("srv", "my printer", "u", "it's $HOME; rm -rf /", "a b", false));
  for (const char* line : {"\nprinter='my printer'\n", "\nshare=//srv/'my printer'\n",
                           "\npassword='it'\\''s $HOME; rm -rf /'\n", "\nworkgroup='a b'\n"})
    EXPECT_NE(script.find(line), std::string::npos) << line;
  EXPECT_EQ(sambaScriptPath("office"), "/etc/dorvek/samba/office.sh");
}

TEST(SambaRoundTrip, EveryValueReadsBackExactly) {
  const SambaSettings cases[] = {
      settings("srv", "my printer", "O'Brien", "a'b''c'", "x=y=z", false),
      settings("srv", "p", "u", "$(reboot);`id`|&<>\"\\", "semi;colon", true),
      settings("srv", "p", "u", "ends in blank ", " \tlead", false),
      settings(std::string(60, 's'), std::string(70, 'p'), std::string(55, 'u'),
               std::string(80, '!'), std::string(64, 'w'), true),
      settings("", "", "", "", "", false),
      settings("srv", "p", "u", "##########", "'", false),
  };
  for (const SambaSettings& s : cases) {
    const SambaScriptValues v = parseSambaScript(formatSambaScript(s));
    const auto opt = [](const std::string& x) { return std::optional<std::string>(x); };
    EXPECT_EQ(std::make_tuple(v.server, v.printer, v.user, v.password, v.workgroup, v.translateYes),
              std::make_tuple(opt(s.server), opt(s.printer), opt(s.user), opt(s.password),
                              opt(s.workgroup), s.translate))
        << s.password;
  }
}

TEST(ParseSambaScript, HandWrittenScripts) {
  const std::nullopt_t no = std::nullopt;
  struct Case {
    const char* text;
    std::optional<std::string> server, user, password;
    bool translate;
  } cases[] = {
      // Keys in any case, blanks and CR around lines.
      {"HostIP=h\n  USERNAME=u \r\nTranslate=YES\n", "h", "u", no, true},
      // Only keys before the marker count; without one the script is read to its end.
      {"hostip=h\n##########\nusername=u\n", "h", no, no, false},
      {"hostip=h\nusername=u", "h", "u", no, false},
      {"hostip=a\nhostip=b\ntranslate=no\n", "b", no, no, false},
      // A quoted value keeps inner and trailing blanks; unquoted trailing ones go.
      {"password='a b '  \nusername=x y \t\n", no, "x y", "a b ", false},
      {"share=//x/y\nfoo=bar\n", no, no, no, false},
  };
  for (const Case& c : cases) {
    const SambaScriptValues v = parseSambaScript(c.text);
    EXPECT_EQ(
        std::make_tuple(v.server, v.user, v.password, v.printer, v.translateYes),
        std::make_tuple(c.server, c.user, c.password, std::optional<std::string>(), c.translate))
        << c.text;
  }
}

}  // namespace
