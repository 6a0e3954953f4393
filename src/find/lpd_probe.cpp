#include "find/lpd_probe.h"

#include <gio/gio.h>

#include <array>
#include <vector>

#include "find/replies.h"
#include "find/search_hook.h"

namespace {

// RFC 1179 "send queue state (short)"; LPRng answers for all its queues to the name "all".
const char kAllQueues[] = "all";
// What printer appliances commonly call their queues.
const std::vector<std::string> kUsualQueues = {"lp",   "raw",   "text", "PASSTHRU",  "auto",
                                               "lpt1", "port1", "ps",   "binary_p1", "TEXT"};
constexpr std::size_t kMostReplyBytes = 64 * 1024;

}  // namespace

// The answer of a host-name lookup, which GIO gives even after a cancel: it finds its probe
// here, or none when the probe is gone.
struct LpdLookup {
  LpdProbe* probe;
};

// The probe's sockets are its own, non-blocking, watched by sources that a stop destroys at
// once (GLib 2.74's GSocketClient also leaks a connect that is cancelled).
class LpdProbe {
 public:
  LpdProbe(const std::string& host, LpdProbeEvents events)
      : events_(std::move(events)),
        cancellable_(g_cancellable_new()),
        lookup_(new LpdLookup{this}) {
    timer_ = g_timeout_add_seconds(kLpdSearchSeconds, &LpdProbe::timeUp, this);
    GResolver* resolver = g_resolver_get_default();
    g_resolver_lookup_by_name_async(resolver, host.c_str(), cancellable_, &LpdProbe::resolved,
                                    lookup_);
    g_object_unref(resolver);
  }
  ~LpdProbe() {
    if (timer_ != 0) g_source_remove(timer_);
    endAttempt();
    if (lookup_ != nullptr) lookup_->probe = nullptr;
    g_cancellable_cancel(cancellable_);
    g_object_unref(cancellable_);
    if (address_ != nullptr) g_object_unref(address_);
  }

 private:
  // The last event; the probe is gone before it is said.
  void finish(LpdOutcome outcome, const std::string& reason = "") {
    noteFindCallback();
    const LpdProbeEvents events = std::move(events_);
    delete this;
    events.finished(outcome, reason);
  }

  static gboolean timeUp(gpointer self) {
    noteFindCallback();
    auto* probe = static_cast<LpdProbe*>(self);
    probe->timer_ = 0;
    probe->finish(probe->found_ > 0 ? LpdOutcome::kFound : LpdOutcome::kNotAnswering);
    return FALSE;
  }

  static void resolved(GObject* source, GAsyncResult* result, gpointer data) {
    auto* lookup = static_cast<LpdLookup*>(data);
    LpdProbe* probe = lookup->probe;
    delete lookup;
    GList* addresses = g_resolver_lookup_by_name_finish(G_RESOLVER(source), result, nullptr);
    if (probe == nullptr || addresses == nullptr) {
      g_resolver_free_addresses(addresses);
      if (probe != nullptr) {
        probe->lookup_ = nullptr;
        probe->finish(LpdOutcome::kUnknownHost);
      }
      return;
    }
    noteFindCallback();
    probe->lookup_ = nullptr;
    probe->address_ = g_inet_socket_address_new(G_INET_ADDRESS(addresses->data), 515);
    g_resolver_free_addresses(addresses);
    probe->ask(kAllQueues);
  }

  // One connection (connect, ask, read) has its own time limit.
  void ask(const std::string& queue) {
    asked_ = queue;
    reply_.clear();
    connecting_ = true;
    GError* error = nullptr;
    socket_ = g_socket_new(g_socket_address_get_family(address_), G_SOCKET_TYPE_STREAM,
                           G_SOCKET_PROTOCOL_TCP, &error);
    if (socket_ == nullptr) {
      g_clear_error(&error);
      return connectionFailed(false);
    }
    g_socket_set_blocking(socket_, FALSE);
    attemptTimer_ = g_timeout_add(kLpdConnectionMilliseconds, &LpdProbe::attemptTimeUp, this);
    if (g_socket_connect(socket_, address_, nullptr, &error)) return connected();
    if (g_error_matches(error, G_IO_ERROR, G_IO_ERROR_PENDING)) {
      g_clear_error(&error);
      return watch(G_IO_OUT, &LpdProbe::writable);
    }
    const bool refused = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CONNECTION_REFUSED);
    g_clear_error(&error);
    connectionFailed(refused);
  }

  void watch(GIOCondition condition, GSocketSourceFunc callback) {
    watch_ = g_socket_create_source(socket_, condition, nullptr);
    g_source_set_callback(watch_, G_SOURCE_FUNC(callback), this, nullptr);
    g_source_attach(watch_, nullptr);
  }

  void unwatch() {
    if (watch_ == nullptr) return;
    g_source_destroy(watch_);
    g_source_unref(watch_);
    watch_ = nullptr;
  }

  void endAttempt() {
    if (attemptTimer_ != 0) g_source_remove(attemptTimer_);
    attemptTimer_ = 0;
    unwatch();
    if (socket_ != nullptr) {
      g_socket_close(socket_, nullptr);
      g_object_unref(socket_);
    }
    socket_ = nullptr;
  }

  static gboolean attemptTimeUp(gpointer self) {
    noteFindCallback();
    auto* probe = static_cast<LpdProbe*>(self);
    probe->attemptTimer_ = 0;
    if (probe->connecting_) {
      probe->connectionFailed(false);
    } else {
      probe->replied();
    }
    return FALSE;
  }

  static gboolean writable(GSocket* socket, GIOCondition, gpointer self) {
    noteFindCallback();
    auto* probe = static_cast<LpdProbe*>(self);
    probe->unwatch();
    GError* error = nullptr;
    if (g_socket_check_connect_result(socket, &error)) {
      probe->connected();
    } else {
      const bool refused = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CONNECTION_REFUSED);
      g_clear_error(&error);
      probe->connectionFailed(refused);
    }
    return FALSE;
  }

  void connectionFailed(bool refused) {
    endAttempt();
    if (found_ > 0) return finish(LpdOutcome::kFound);
    finish(refused ? LpdOutcome::kNoLpd : LpdOutcome::kNotAnswering);
  }

  // The request is a few bytes on a fresh connection: it goes at once or not at all.
  void connected() {
    connecting_ = false;
    const std::string request = std::string(1, '\003') + asked_ + "\n";
    if (g_socket_send(socket_, request.data(), request.size(), nullptr, nullptr) !=
        static_cast<gssize>(request.size()))
      return replied();
    watch(static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR), &LpdProbe::readable);
  }

  static gboolean readable(GSocket* socket, GIOCondition, gpointer self) {
    noteFindCallback();
    auto* probe = static_cast<LpdProbe*>(self);
    probe->unwatch();
    GError* error = nullptr;
    const gssize got =
        g_socket_receive(socket, probe->buffer_.data(), probe->buffer_.size(), nullptr, &error);
    if (g_error_matches(error, G_IO_ERROR, G_IO_ERROR_WOULD_BLOCK)) {
      g_clear_error(&error);
      probe->watch(static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR), &LpdProbe::readable);
      return FALSE;
    }
    // LPRng says "no connect permissions" and resets at once, so often only the reset arrives.
    if (error != nullptr && probe->reply_.empty() && probe->refusal_.empty())
      probe->refusal_ = error->message;
    g_clear_error(&error);
    if (got > 0 && probe->reply_.size() < kMostReplyBytes) {
      probe->reply_.append(probe->buffer_.data(), static_cast<std::size_t>(got));
      probe->watch(static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR), &LpdProbe::readable);
      return FALSE;
    }
    probe->replied();  // the end or an error: judge what came
    return FALSE;
  }

  void replied() {
    endAttempt();
    if (asked_ == kAllQueues) {
      for (const std::string& queue : lprngQueues(reply_)) queueAt(queue);
      if (found_ > 0) return finish(LpdOutcome::kFound);
      if (!lpdRefusal(reply_).empty()) return finish(LpdOutcome::kRefused, lpdRefusal(reply_));
      next_ = 0;
    } else if (probedQueueExists(reply_)) {
      queueAt(asked_);
    }
    if (next_ < kUsualQueues.size()) return ask(kUsualQueues[next_++]);
    if (found_ > 0) return finish(LpdOutcome::kFound);
    finish(refusal_.empty() ? LpdOutcome::kNothingFound : LpdOutcome::kRefused, refusal_);
  }

  void queueAt(const std::string& queue) {
    noteFindCallback();
    ++found_;
    events_.queueFound(queue);
  }

  LpdProbeEvents events_;
  GCancellable* cancellable_;
  LpdLookup* lookup_;
  GSocketAddress* address_ = nullptr;
  GSocket* socket_ = nullptr;
  GSource* watch_ = nullptr;
  guint timer_ = 0, attemptTimer_ = 0;
  bool connecting_ = false;
  int found_ = 0;
  std::size_t next_ = 0;
  std::string asked_, reply_, refusal_;
  std::array<char, 4096> buffer_{};
};

LpdProbe* startLpdProbe(const std::string& host, LpdProbeEvents events) {
  return new LpdProbe(host, std::move(events));
}

void cancelLpdProbe(LpdProbe* probe) {
  delete probe;
}
