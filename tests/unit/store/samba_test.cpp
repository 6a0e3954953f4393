#include "store/samba.h"

#include <gtest/gtest.h>

#include <tuple>

#include "store/rollout.h"

using namespace std::string_literals;

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

// ---- Fleet rollouts: the capture, the plan, the helper's report ----

const FleetLayout kLayout{{"/etc/printcap", "/etc/printers_info"},
                          {"/etc/init.d/runlpd"},
                          {"/etc/rcS.d/S76runlpd"},
                          "/etc/dorvek/samba"};

TEST(Rollout, CaptureKeepsEveryByteAndRefusesAnythingElse) {
  const HeldFiles held{{{"/etc/printcap", 0644, "root", "root", "p:lp=/dev/lp0:\n"},
                        {"/etc/dorvek/samba/a b%\n\xff.sh", 0750, "root", "lp", "\0\xff"s},
                        {"/etc/printers_info", 0600, "root", "root", ""}},
                       {{"/etc/rcS.d/S76runlpd", "../init.d/run lpd"}}};
  EXPECT_EQ(formatCapture(held),
            "# solvo-printer-mgr fleet capture: file PATH MODE OWNER GROUP BASE64, link PATH "
            "TARGET\nfile /etc/printcap 644 root root cDpscD0vZGV2L2xwMDoK\n"
            "file /etc/dorvek/samba/a%20b%25%0A%FF.sh 750 root lp AP8=\n"
            "file /etc/printers_info 600 root root -\n"
            "link /etc/rcS.d/S76runlpd ../init.d/run%20lpd\n");
  const std::optional<HeldFiles> back = parseCapture(formatCapture(held) + "\n\n");
  ASSERT_TRUE(back);
  EXPECT_EQ(formatCapture(*back), formatCapture(held));
  for (const char* bad :
       {"file /p 644 root root AP8", "file /p 8 root root ", "link /p",
        "file /p 644 root root AP8= x", "file /a%2 644 root root AP8=",
        "file /p 644 root root AP9=", "file /a%00.sh 644 root root AP8=", "link /p a\"b",
        "files /p 644 root root AP8=", "file /p 644 root root A!==", "file /p 644 root root A==="})
    EXPECT_FALSE(parseCapture(bad)) << bad;
  EXPECT_EQ(parseCapture("file /p 644 root root Cg==")->files.at(0).content, "\n");
}

TEST(Rollout, PlanReportAndDiffOfAChangedAndAnUnchangedClient) {
  const std::string cap = "# one\nlp:\\\n\t:lp=/dev/lp0:\n\t:sh:\n\t:mx=0:\n\t:sd=/x:\n";
  const HeldFiles wanted{{{"/etc/printcap", 0644, "root", "root", cap},
                          {"/etc/init.d/runlpd", 0755, "root", "root", "#! /bin/sh\n"},
                          {"/etc/dorvek/samba/new.sh", 0750, "root", "lp", "password=s3cret\n"}},
                         {{"/etc/rcS.d/S76runlpd", "/etc/init.d/runlpd"}}};
  HeldFiles present = wanted;
  EXPECT_EQ(rolloutReport(planRollout(kLayout, wanted, present)),
            "{\"changed\":false,\"written\":[],\"removed\":[],\"restart\":false,\"emptied\":[]}\n");
  present.files[0].content = "# one\nlp:\\\n\t:lp=/dev/lp1:\n\t:sh:\n\t:mx=0:\n\t:sd=/x:\n";
  present.files[1].mode = 0700;
  present.files[2].path = "/etc/dorvek/samba/old.sh";
  present.links.clear();
  RolloutPlan plan = planRollout(kLayout, wanted, present);
  plan.emptied = {{"old", 2}, {"x", 1}};
  EXPECT_EQ(rolloutReport(plan),
            "{\"changed\":true,\"written\":[\"/etc/printcap\",\"/etc/init.d/runlpd\","
            "\"/etc/dorvek/samba/new.sh\",\"/etc/rcS.d/S76runlpd\"],\"removed\":[\"/etc/dorvek/"
            "samba/old.sh\"],\"restart\":true,\"emptied\":[\"old: 2 jobs\",\"x: 1 job\"]}\n");
  EXPECT_EQ(rolloutDiff(kLayout, plan, wanted, present),
            (Lines{"--- /etc/printcap (client)", "+++ /etc/printcap (capture)", "@@ -1,6 +1,6 @@",
                   " # one", " lp:\\",
                   "-\t:lp=/dev/lp1:", "+\t:lp=/dev/lp0:", " \t:sh:", " \t:mx=0:", " \t:sd=/x:",
                   "/etc/init.d/runlpd: 700 root:root "
                   "becomes 755 root:root",
                   "/etc/dorvek/samba/new.sh: written as captured (not shown: it holds a password)",
                   "/etc/dorvek/samba/old.sh: removed",
                   "/etc/rcS.d/S76runlpd: link to "
                   "/etc/init.d/runlpd",
                   "queue of printer old: 2 jobs removed, and its spool folder",
                   "queue of printer x: 1 job removed, and its spool folder"}));
  present.files[0].content += "old:\\\n\t:lp=/dev/lp1:\n";
  EXPECT_EQ(printersRemoved(wanted, present), Lines{"old"});
  // Boot files alone need no restart; bytes that are not UTF-8 still make valid JSON.
  present = wanted;
  present.files[1].content.clear();
  present.files.push_back({"/etc/dorvek/samba/x.sh.orig"});
  EXPECT_EQ(rolloutReport(planRollout(kLayout, wanted, present), Lines{"a\"\\\n\xff\xc3\xa9"}),
            "{\"changed\":true,\"written\":[\"/etc/init.d/runlpd\"],\"removed\":[],\"restart\":"
            "false,\"emptied\":[],\"diff\":[\"a\\\"\\\\\\u000a\\ufffd\xc3\xa9\"]}\n");
}

TEST(Rollout, OnlyThePathsTheProgramWrites) {
  const std::pair<std::string, bool> cases[] = {
      {"/etc/dorvek/samba/p.sh", true},
      {"/etc/printers_info", true},
      {"/etc/shadow", false},
      {"/etc/dorvek/samba/../x.sh", false},
      {"/etc/dorvek/samba/.sh", false},
      {"/etc/dorvek/samba/p.sh.orig", false},
      {"/etc/dorvek/samba2/p.sh", false},
  };
  for (const auto& [path, managed] : cases)
    EXPECT_EQ(unmanagedPath(kLayout, HeldFiles{{{path}}, {}}), managed ? "" : path) << path;
  EXPECT_EQ(unmanagedPath(kLayout, HeldFiles{{}, {{"/etc/rcS.d/S10x", "/x"}}}), "/etc/rcS.d/S10x");
}
