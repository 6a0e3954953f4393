#include "printers/listings.h"

#include <gtest/gtest.h>

#include "find/replies.h"

using namespace std::string_literals;

TEST(Listings, ItemsPreselectedFilterAndTestPrintFailure) {
  // A NUL ends its line; empty lines and Latin-1 names give no item; no final line feed needed.
  EXPECT_EQ(listingItems("/dev/lp\0009\n\n\0x\n\xe9t\xe9.ppd\ncaf\xc3\xa9.ppd\n/dev/lp1"s),
            (std::vector<std::string>{"/dev/lp", "caf\xc3\xa9.ppd", "/dev/lp1"}));
  EXPECT_EQ(preselectedFilter({"/f/banner", "/f/lpf", "/f/lpfx", "/f/z"}), 2);
  EXPECT_EQ(testPrintFailure("Printer: t1@h\n Queue: 1 printable job\n"), std::nullopt);
  EXPECT_EQ(testPrintFailure("ok\nlp: No such file\nmore\n"), "lp: No such file\nmore\n");
  // Pieces are 199 bytes: a marker across the edge is not seen, one inside the next piece is.
  EXPECT_EQ(testPrintFailure(std::string(195, 'x') + "Error:\n"), std::nullopt);
  EXPECT_EQ(testPrintFailure(std::string(199, 'x') + "Error:\n"), "Error:\n");
}

// What hosts, announcements and smbclient answer: only real queue and share names get through.
TEST(FindReplies, QueuesAnnouncementsAndShares) {
  using Names = std::vector<std::string>;
  const std::pair<std::string, Names> lprng[] = {
      {"raw@localhost 0 jobs\nlaser@localhost 0 jobs\n", {"raw", "laser"}},
      {"Printer: raw@h\n Queue: no printable jobs in queue\nPrinter: laser@h 'x'\r\n"
       " Rank Owner/ID\n1 root@h+12 A 12 /etc/x 15 12:00:00\n",
       {"raw", "laser"}},
      {"Printer: nosuch@h - ERROR: spool queue for 'nosuch' does not exist on server h\n", {}},
      {"a:b@h 1\n@h 1\nq\x01@h\n\xc3\xa9@h\nall@h ready\nraw@h 0\nraw@h 1\n", {"raw"}},
  };
  for (const auto& [reply, queues] : lprng) EXPECT_EQ(lprngQueues(reply), queues) << reply;
  EXPECT_TRUE(probedQueueExists("lp: ready\n"));
  for (const char* no : {"", " \r\n", "Unknown printer\n", "queue lp: permission denied"})
    EXPECT_FALSE(probedQueueExists(no)) << no;
  EXPECT_EQ(lpdRefusal("x\nPrinter: lp@h - no permission to list\n"),
            "Printer: lp@h - no permission to list");
  EXPECT_EQ(announcedQueue({"note=2nd", "RP=laser"}), "laser");
  for (const Names& txt : {Names{}, Names{"rp="}, Names{"rp=a b"}, Names{"rp=x;y:z"}})
    EXPECT_EQ(announcedQueue(txt), std::nullopt);
  const std::pair<Names, const char*> hints[] = {{{"txtvers=1", "rp=ipp/print"}, "print"},
                                                 {{"RP=printers/laser"}, "laser"},
                                                 {{"rp=raw"}, "raw"},
                                                 {{"rp=ipp/"}, ""},
                                                 {{"rp=a/b c"}, ""},
                                                 {{}, ""}};
  for (const auto& [txt, hint] : hints) EXPECT_EQ(ippQueueHint(txt), hint) << hint;
  const std::pair<const char*, ShareNameFault> names[] = {
      {"laser", ShareNameFault::kNone},   {"HP_LaserJet-1020$", ShareNameFault::kNone},
      {"", ShareNameFault::kEmpty},       {"HP LaserJet 1020", ShareNameFault::kBlank},
      {"a\tb", ShareNameFault::kControl}, {"x\x7f", ShareNameFault::kControl}};
  for (const auto& [name, fault] : names) EXPECT_EQ(shareNameFault(name), fault) << name;
  for (const char* host : {"lpdhost.local", "10.23.0.2", "print_1"})
    EXPECT_TRUE(plausibleHost(host));
  for (const char* host : {"", "-L", "a b", "h;id", "h\n"}) EXPECT_FALSE(plausibleHost(host));
  const ShareListing shares = parseShareListing(
      "Printer|laser|Laser 2nd\nDisk|files|x\nPrinter|c\xff|\nIPC|IPC$|y\nPrinter||z\n"
      "SMB1 disabled -- no workgroup available\n");
  EXPECT_EQ(shares.printers.size(), 2u);
  EXPECT_EQ(
      shares.printers[0].name + "|" + shares.printers[0].comment + "|" + shares.printers[1].name,
      "laser|Laser 2nd|c\xef\xbf\xbd");
  const std::pair<const char*, ListingOutcome> failures[] = {
      {"session setup failed: NT_STATUS_LOGON_FAILURE", ListingOutcome::kDenied},
      {"do_connect: Connection to h failed (Error NT_STATUS_CONNECTION_REFUSED)",
       ListingOutcome::kNoServer},
      {"do_connect: Connection to h failed (Error NT_STATUS_IO_TIMEOUT)",
       ListingOutcome::kNotAnswering},
      {"tree connect failed: NT_STATUS_BAD_NETWORK_NAME", ListingOutcome::kFailed},
      // smbclient 4.17: a NetBIOS name nobody answers for, with and without a broadcast
      // interface; a DNS name that does not exist; an address nobody has.
      {"do_connect: Connection to NOSUCHNB failed (Error NT_STATUS_NOT_FOUND)",
       ListingOutcome::kUnknownHost},
      {"do_connect: Connection to NOSUCHNB failed (Error NT_STATUS_INVALID_ADDRESS)",
       ListingOutcome::kUnknownHost},
      {"do_connect: Connection to nosuch.invalid failed (Error NT_STATUS_UNSUCCESSFUL)",
       ListingOutcome::kUnknownHost},
      {"do_connect: Connection to 10.25.0.9 failed (Error NT_STATUS_HOST_UNREACHABLE)",
       ListingOutcome::kNotAnswering},
      {"session setup failed: NT_STATUS_UNSUCCESSFUL", ListingOutcome::kFailed}};
  for (const auto& [line, outcome] : failures) {
    const ShareListing listing = parseShareListing(std::string("\n") + line + "\r\n", true);
    EXPECT_EQ(listing.outcome, outcome) << line;
    EXPECT_EQ(listing.reason, line);
  }
  // A run that failed without a status line (smbclient's panic after a signal, a crash with no
  // word) is a failure with its last line; exit status 0 and no printer line is "no printer".
  const std::tuple<const char*, bool, ListingOutcome, const char*> ends[] = {
      {"smb_panic(): action returned status 0\nCan not dump core: corepath not set up\n\n", true,
       ListingOutcome::kFailed, "Can not dump core: corepath not set up"},
      {"", true, ListingOutcome::kFailed, ""},
      {"Disk|files|x\n", false, ListingOutcome::kListed, ""},
      {"Printer|laser|\nSegmentation fault\n", true, ListingOutcome::kListed, ""}};
  for (const auto& [output, failed, outcome, reason] : ends) {
    const ShareListing listing = parseShareListing(output, failed);
    EXPECT_EQ(listing.outcome, outcome) << output;
    EXPECT_EQ(listing.reason, reason) << output;
  }
  EXPECT_EQ(smbAuthenticationFile("ann", "p w", "OFFICE"),
            "username = ann\npassword = p w\ndomain = OFFICE\n");
}
