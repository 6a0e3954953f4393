#include "find/share_browse.h"

#include <gio/gio.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

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
  ShareBrowse(const ShareQuestion& question, BrowseEvents events)
      : question_(question), events_(std::move(events)), cancellable_(g_cancellable_new()) {
    timer_ = g_timeout_add_seconds(kBrowseSeconds, &ShareBrowse::timeUp, this);
    GResolver* resolver = g_resolver_get_default();
    g_resolver_lookup_by_name_async(resolver, question_.server.c_str(), cancellable_,
                                    &ShareBrowse::resolved, this);
    g_object_unref(resolver);
  }
  ~ShareBrowse() {
    if (timer_ != 0) g_source_remove(timer_);
    forgetPassword();
    if (child_ != nullptr) g_object_unref(child_);
    g_object_unref(cancellable_);
  }
  void cancel() {
    cancelled_ = true;
    g_cancellable_cancel(cancellable_);
    if (child_ != nullptr) g_subprocess_force_exit(child_);
    forgetPassword();
  }

 private:
  void forgetPassword() {
    if (!authFile_.empty()) unlink(authFile_.c_str());
    authFile_.clear();
  }

  void finish(BrowseOutcome outcome, const ShareListing& listing) {
    cancel();  // no event after this one
    events_.finished(outcome, listing);
  }

  static gboolean timeUp(gpointer self) {
    auto* browse = static_cast<ShareBrowse*>(self);
    browse->timer_ = 0;
    browse->finish(BrowseOutcome::kNotAnswering, {});
    return FALSE;  // the pending step sees the cancel and frees the browse
  }

  static void resolved(GObject* source, GAsyncResult* result, gpointer self) {
    auto* browse = static_cast<ShareBrowse*>(self);
    GList* addresses = g_resolver_lookup_by_name_finish(G_RESOLVER(source), result, nullptr);
    g_resolver_free_addresses(addresses);
    if (browse->cancelled_) {
      delete browse;
    } else if (addresses == nullptr) {
      browse->finish(BrowseOutcome::kUnknownHost, {});
      delete browse;
    } else if (const std::string why = browse->startSmbclient(); !why.empty()) {
      ShareListing failed;
      failed.reason = why;
      browse->finish(BrowseOutcome::kFailed, failed);
      delete browse;
    }
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
    if (!browse->cancelled_) {
      browse->forgetPassword();
      gsize size = 0;
      const auto* bytes =
          output != nullptr ? static_cast<const char*>(g_bytes_get_data(output, &size)) : "";
      const ShareListing listing = parseShareListing(std::string(bytes, size));
      browse->finish(outcomeOf(listing), listing);
    }
    if (output != nullptr) g_bytes_unref(output);
    delete browse;
  }

  ShareQuestion question_;
  BrowseEvents events_;
  GCancellable* cancellable_;
  GSubprocess* child_ = nullptr;
  std::string authFile_;
  guint timer_ = 0;
  bool cancelled_ = false;
};

ShareBrowse* startShareBrowse(const ShareQuestion& question, BrowseEvents events) {
  return new ShareBrowse(question, std::move(events));
}

void cancelShareBrowse(ShareBrowse* browse) {
  browse->cancel();
}
