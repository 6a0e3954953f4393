#include "store/samba.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kTail =
    std::string(70, '#') +
    "\n"
    "if [ \"$workgroup\" != \"\" ]; then\n"
    "    wkgcmd=\"-W\"\n"
    "else\n"
    "    wkgcmd=\"\"\n"
    "fi\n"
    "\n"
    "if [ \"$translate\" = \"yes\" ]; then\n"
    "    command=\"translate ; print -\"\n"
    "else\n"
    "    command=\"print -\"\n"
    "fi\n"
    "\n"
    "cat | /usr/bin/smbclient $share -U $username%$password $wkgcmd $workgroup -c \"$command\"\n";

SambaSettings settings(const std::string& server, const std::string& printer,
                       const std::string& user, const std::string& password,
                       const std::string& workgroup, bool translate) {
  SambaSettings s;
  s.server = server;
  s.printer = printer;
  s.user = user;
  s.password = password;
  s.workgroup = workgroup;
  s.translate = translate;
  return s;
}

TEST(FormatSambaScript, OrdinaryValuesAreWrittenBare) {
  EXPECT_EQ(formatSambaScript(settings("10.0.0.5", "laser", "bob", "s3cr=t", "", true)),
            "#!/bin/sh\n"
            "hostip=10.0.0.5\n"
            "printer=laser\n"
            "share=//10.0.0.5/laser\n"
            "username=bob\n"
            "password=s3cr=t\n"
            "workgroup=\n"
            "translate=yes\n" +
                kTail);
  EXPECT_EQ(formatSambaScript(settings("srv", "p", "u@dom", "x", "WG", false)),
            "#!/bin/sh\nhostip=srv\nprinter=p\nshare=//srv/p\nusername=u@dom\npassword=x\n"
            "workgroup=WG\n" +
                kTail);
}

TEST(FormatSambaScript, ShellCharactersAreQuoted) {
  const std::string script =
      formatSambaScript(settings("srv", "my printer", "u", "it's $HOME; rm -rf /", "a b", false));
  EXPECT_NE(script.find("printer='my printer'\n"), std::string::npos);
  EXPECT_NE(script.find("share=//srv/'my printer'\n"), std::string::npos);
  EXPECT_NE(script.find("password='it'\\''s $HOME; rm -rf /'\n"), std::string::npos);
  EXPECT_NE(script.find("workgroup='a b'\n"), std::string::npos);
}

TEST(SambaRoundTrip, EveryValueReadsBackExactly) {
  const SambaSettings cases[] = {
      settings("10.0.0.5", "laser", "bob", "pw", "", false),
      settings("srv", "p", "u", "pw", "WORKGROUP", true),
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
    EXPECT_EQ(v.server, s.server);
    EXPECT_EQ(v.printer, s.printer);
    EXPECT_EQ(v.user, s.user);
    EXPECT_EQ(v.password, s.password);
    EXPECT_EQ(v.workgroup, s.workgroup);
    EXPECT_EQ(v.translateYes, s.translate) << s.password;
  }
}

TEST(ParseSambaScript, HandWrittenScripts) {
  struct Case {
    const char* text;
    std::optional<std::string> server, user, password;
    bool translate;
  } cases[] = {
      // Keys in any case, blanks and CR around lines.
      {"HostIP=h\n  USERNAME=u \r\nTranslate=YES\n", "h", "u", std::nullopt, true},
      // Only keys before the marker count; a script without one is read to its end.
      {"hostip=h\n##########\nusername=u\n", "h", std::nullopt, std::nullopt, false},
      {"hostip=h\nusername=u", "h", "u", std::nullopt, false},
      // The last of repeated keys wins; "translate" other than yes leaves it off.
      {"hostip=a\nhostip=b\ntranslate=no\n", "b", std::nullopt, std::nullopt, false},
      // A quoted value keeps inner and trailing blanks; unquoted trailing ones go.
      {"password='a b '  \nusername=x y \t\n", std::nullopt, "x y", "a b ", false},
      // "share=" and unknown lines are ignored.
      {"share=//x/y\nfoo=bar\n", std::nullopt, std::nullopt, std::nullopt, false},
      {"", std::nullopt, std::nullopt, std::nullopt, false},
  };
  for (const Case& c : cases) {
    const SambaScriptValues v = parseSambaScript(c.text);
    EXPECT_EQ(v.server, c.server) << c.text;
    EXPECT_EQ(v.user, c.user) << c.text;
    EXPECT_EQ(v.password, c.password) << c.text;
    EXPECT_FALSE(v.printer) << c.text;
    EXPECT_EQ(v.translateYes, c.translate) << c.text;
  }
}

TEST(SambaScriptPath, NamesTheScript) {
  EXPECT_EQ(sambaScriptPath("office"), "/etc/dorvek/samba/office.sh");
}

}  // namespace
