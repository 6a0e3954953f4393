#include "find/share_browse.h"

#include <gio/gio.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "find/search_hook.h"

namespace {

// A file of mode 600 made exclusively under /tmp, for smbclient's --authentication-file.
std::string writeAuthenticationFile(const std::string& content) {
  char path[] = "/tmp/solvo-smbauth-XXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0) return "";
  const bool written =
      write(fd, content.data(), content.size()) == static_cast<ssize_t>(content.size());
  close(fd);
  if (!written) {
    unlink(path);
    return "";
  }
  return path;
}

BrowseOutcome outcomeOf(const ShareListing& listing) {
  switch (listing.outcome) {
    case ListingOutcome::kListed:
      return BrowseOutcome::kListed;
    case ListingOutcome::kUnknownHost:
      return BrowseOutcome::kUnknownHost;
    case ListingOutcome::kDenied:
      return BrowseOutcome::kDenied;
    case ListingOutcome::kNoServer:
      return BrowseOutcome::kNoServer;
    case ListingOutcome::kNotAnswering:
      return BrowseOutcome::kNotAnswering;
    case ListingOutcome::kFailed:
      break;
  }
  return BrowseOutcome::kFailed;
}

}  // namespace

class ShareBrowse {
 public:
  // The server goes to smbclient as typed: it finds NetBIOS names (lmhosts, WINS, broadcast)
  // that the resolver does not know.
  ShareBrowse(const ShareQuestion& question, BrowseEvents events)
      : question_(question), events_(std::move(events)), cancellable_(g_cancellable_new()) {
    timer_ = g_timeout_add_seconds(kBrowseSeconds, &ShareBrowse::timeUp, this);
    startFailure_ = startSmbclient();
    // Said from the main loop, so the caller holds the browse before any event.
    if (!startFailure_.empty()) idle_ = g_idle_add(&ShareBrowse::notStarted, this);
  }
  ~ShareBrowse() {
    removeSources();
    forgetPassword();
    if (child_ != nullptr) g_object_unref(child_);
    g_object_unref(cancellable_);
  }
  // Everything stops here: timers, smbclient and its pipe, the password file. Only a pending
  // read of the pipe is left to see the cancel and free the browse.
  void cancel() {
    cancelled_ = true;
    removeSources();
    g_cancellable_cancel(cancellable_);
    if (child_ != nullptr) g_subprocess_force_exit(child_);
    forgetPassword();
    if (child_ == nullptr) delete this;  // nothing pending
  }

 private:
  void removeSources() {
    if (timer_ != 0) g_source_remove(timer_);
    if (idle_ != 0) g_source_remove(idle_);
    timer_ = idle_ = 0;
  }

  void forgetPassword() {
    if (!authFile_.empty()) unlink(authFile_.c_str());
    authFile_.clear();
  }

  // The last event; the browse is freed with it.
  void finish(BrowseOutcome outcome, const ShareListing& listing) {
    noteFindCallback();
    const BrowseEvents events = std::move(events_);
    cancel();
    events.finished(outcome, listing);
  }

  static gboolean timeUp(gpointer self) {
    auto* browse = static_cast<ShareBrowse*>(self);
    browse->timer_ = 0;
    browse->finish(BrowseOutcome::kNotAnswering, {});
    return FALSE;
  }

  static gboolean notStarted(gpointer self) {
    auto* browse = static_cast<ShareBrowse*>(self);
    browse->idle_ = 0;
    ShareListing failed;
    failed.reason = browse->startFailure_;
    browse->finish(BrowseOutcome::kFailed, failed);
    return FALSE;
  }

  // Empty when smbclient runs; otherwise why not.
  std::string startSmbclient() {
    std::vector<std::string> words = {kSmbclient, "-L", question_.server, "-g"};
    if (question_.user.empty()) {
      words.push_back("-N");
    } else {
      authFile_ = writeAuthenticationFile(
          smbAuthenticationFile(question_.user, question_.password, question_.workgroup));
      if (authFile_.empty()) return g_strerror(errno);
      words.push_back("--authentication-file=" + authFile_);
    }
    GError* error = nullptr;
    std::vector<const gchar*> argv;
    for (const std::string& word : words) argv.push_back(word.c_str());
    argv.push_back(nullptr);
    child_ = g_subprocess_newv(argv.data(),
                               static_cast<GSubprocessFlags>(G_SUBPROCESS_FLAGS_STDOUT_PIPE |
                                                             G_SUBPROCESS_FLAGS_STDERR_MERGE),
                               &error);
    if (child_ == nullptr) {
      const std::string why = error->message;
      g_error_free(error);
      return why;
    }
    g_subprocess_communicate_async(child_, nullptr, cancellable_, &ShareBrowse::ended, this);
    return "";
  }

  static void ended(GObject* source, GAsyncResult* result, gpointer self) {
    auto* browse = static_cast<ShareBrowse*>(self);
    GBytes* output = nullptr;
    g_subprocess_communicate_finish(G_SUBPROCESS(source), result, &output, nullptr, nullptr);
    if (browse->cancelled_) {
      delete browse;  // cancelled: its child and pipe are gone, nothing more is said
    } else {
      gsize size = 0;
      const auto* bytes =
          output != nullptr ? static_cast<const char*>(g_bytes_get_data(output, &size)) : "";
      const bool failed = !g_subprocess_get_successful(browse->child_);
      const ShareListing listing = parseShareListing(std::string(bytes, size), failed);
      browse->finish(outcomeOf(listing), listing);
      delete browse;
    }
    if (output != nullptr) g_bytes_unref(output);
  }

  ShareQuestion question_;
  BrowseEvents events_;
  GCancellable* cancellable_;
  GSubprocess* child_ = nullptr;
  std::string authFile_;
  std::string startFailure_;
  guint timer_ = 0, idle_ = 0;
  bool cancelled_ = false;
};

ShareBrowse* startShareBrowse(const ShareQuestion& question, BrowseEvents events) {
  return new ShareBrowse(question, std::move(events));
}

void cancelShareBrowse(ShareBrowse* browse) {
  browse->cancel();
}
