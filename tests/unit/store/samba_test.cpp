#include "store/samba.h"

#include <gtest/gtest.h>

#include <tuple>

#include "golden.h"

TEST(SambaScript, QuotedForTheShellAndReadBackExactly) {
  EXPECT_EQ(formatSambaScript({"srv", "my printer", "u@dom", "it's $HOME; rm -rf /", "", true}),
            golden("quoted.script"));
  const SambaSettings cases[] = {
      {"srv", "my printer", "O'Brien", "a'b''c'", "x=y=z", false},
      {"srv", "p", "u", "$(reboot);`id`|&<>\"\\", "semi;colon", true},
      {"srv", "p", "u", "ends in blank ", " \tlead", false},
      {"", "", "", "##########", "'", false},
  };
  for (const SambaSettings& s : cases) {
    const SambaScriptValues v = parseSambaScript(formatSambaScript(s));
    EXPECT_EQ(std::tie(v.server, v.printer, v.user, v.password, v.workgroup, v.translateYes),
              std::tie(s.server, s.printer, s.user, s.password, s.workgroup, s.translate));
  }
  // Hand-written: keys in any case, blanks and CR around, the last one wins, the marker ends it.
  const SambaScriptValues v = parseSambaScript(
      "HostIP=a\n  USERNAME=x y \t\r\nhostip=b\nTranslate=YES\npassword='a b '  \n"
      "##########\nworkgroup=w\n");
  EXPECT_EQ(std::tie(v.server, v.user, v.password, v.workgroup, v.printer, v.translateYes),
            std::make_tuple("b", "x y", "a b ", std::nullopt, std::nullopt, true));
}
