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

class LpdProbe {
 public:
  LpdProbe(const std::string& host, LpdProbeEvents events)
      : host_(host),
        events_(std::move(events)),
        cancellable_(g_cancellable_new()),
        client_(g_socket_client_new()) {
    timer_ = g_timeout_add_seconds(kLpdSearchSeconds, &LpdProbe::timeUp, this);
    g_resolver_lookup_by_name_async(resolver(), host_.c_str(), cancellable_, &LpdProbe::resolved,
                                    this);
  }
  ~LpdProbe() {
    if (timer_ != 0) g_source_remove(timer_);
    endAttempt();
    if (address_ != nullptr) g_object_unref(address_);
    g_object_unref(client_);
    g_object_unref(cancellable_);
  }
  // Timers go at once; the pending step sees the cancel, closes its socket and frees the probe.
  void cancel() {
    cancelled_ = true;
    if (timer_ != 0) g_source_remove(timer_);
    if (attemptTimer_ != 0) g_source_remove(attemptTimer_);
    timer_ = attemptTimer_ = 0;
    g_cancellable_cancel(cancellable_);
    if (attempt_ != nullptr) g_cancellable_cancel(attempt_);
    events_ = {};
  }

 private:
  static GResolver* resolver() {
    GResolver* r = g_resolver_get_default();
    g_object_unref(r);  // the default resolver lives on
    return r;
  }

  // Every async step ends here or goes on; a cancelled probe only frees itself.
  bool endIfCancelled() {
    if (!cancelled_) return false;
    delete this;
    return true;
  }

  void finish(LpdOutcome outcome, const std::string& reason = "") {
    noteFindCallback();
    const LpdProbeEvents events = std::move(events_);
    cancel();  // no event after this one
    events.finished(outcome, reason);
  }

  static gboolean timeUp(gpointer self) {
    noteFindCallback();
    auto* probe = static_cast<LpdProbe*>(self);
    probe->timer_ = 0;
    probe->finish(probe->found_ > 0 ? LpdOutcome::kFound : LpdOutcome::kNotAnswering);
    return FALSE;
  }

  static void resolved(GObject* source, GAsyncResult* result, gpointer self) {
    auto* probe = static_cast<LpdProbe*>(self);
    GError* error = nullptr;
    GList* addresses = g_resolver_lookup_by_name_finish(G_RESOLVER(source), result, &error);
    if (probe->endIfCancelled()) {
      g_clear_error(&error);
      g_resolver_free_addresses(addresses);
      return;
    }
    if (addresses == nullptr) {
      g_clear_error(&error);
      probe->finish(LpdOutcome::kUnknownHost);
      delete probe;
      return;
    }
    probe->address_ = g_inet_socket_address_new(G_INET_ADDRESS(addresses->data), 515);
    g_resolver_free_addresses(addresses);
    probe->ask(kAllQueues);
  }

  // One connection (connect, ask, read) has its own time limit: its own timer cancels it.
  // (GLib 2.74's GSocketClient leaks a connect that fails while it times out or is cancelled.)
  void ask(const std::string& queue) {
    asked_ = queue;
    reply_.clear();
    attempt_ = g_cancellable_new();
    attemptTimedOut_ = false;
    attemptTimer_ = g_timeout_add(kLpdConnectionMilliseconds, &LpdProbe::attemptTimeUp, this);
    g_socket_client_connect_async(client_, G_SOCKET_CONNECTABLE(address_), attempt_,
                                  &LpdProbe::connected, this);
  }

  static gboolean attemptTimeUp(gpointer self) {
    noteFindCallback();
    auto* probe = static_cast<LpdProbe*>(self);
    probe->attemptTimer_ = 0;
    probe->attemptTimedOut_ = true;
    g_cancellable_cancel(probe->attempt_);
    return FALSE;
  }

  void endAttempt() {
    if (attemptTimer_ != 0) g_source_remove(attemptTimer_);
    attemptTimer_ = 0;
    g_clear_object(&attempt_);
    g_clear_object(&connection_);
  }

  static void connected(GObject* source, GAsyncResult* result, gpointer self) {
    auto* probe = static_cast<LpdProbe*>(self);
    GError* error = nullptr;
    GSocketConnection* connection =
        g_socket_client_connect_finish(G_SOCKET_CLIENT(source), result, &error);
    if (probe->endIfCancelled()) {
      g_clear_error(&error);
      if (connection != nullptr) g_object_unref(connection);
      return;
    }
    if (connection == nullptr) {
      const bool refused = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CONNECTION_REFUSED);
      g_clear_error(&error);
      probe->endAttempt();
      probe->finishAfterFailedConnection(refused);
      return;
    }
    probe->connection_ = connection;
    probe->request_ = std::string(1, '\003') + probe->asked_ + "\n";
    g_output_stream_write_all_async(g_io_stream_get_output_stream(G_IO_STREAM(connection)),
                                    probe->request_.data(), probe->request_.size(),
                                    G_PRIORITY_DEFAULT, probe->attempt_, &LpdProbe::sent, probe);
  }

  void finishAfterFailedConnection(bool refused) {
    if (found_ > 0) {
      finish(LpdOutcome::kFound);
    } else {
      finish(refused ? LpdOutcome::kNoLpd : LpdOutcome::kNotAnswering);
    }
    delete this;
  }

  static void sent(GObject* source, GAsyncResult* result, gpointer self) {
    auto* probe = static_cast<LpdProbe*>(self);
    const gboolean ok =
        g_output_stream_write_all_finish(G_OUTPUT_STREAM(source), result, nullptr, nullptr);
    if (probe->closeIfCancelled()) return;
    if (!ok) {
      probe->replied();
      return;
    }
    probe->readMore();
  }

  bool closeIfCancelled() {
    if (!cancelled_) return false;
    delete this;
    return true;
  }

  void readMore() {
    g_input_stream_read_async(g_io_stream_get_input_stream(G_IO_STREAM(connection_)),
                              buffer_.data(), buffer_.size(), G_PRIORITY_DEFAULT, attempt_,
                              &LpdProbe::received, this);
  }

  static void received(GObject* source, GAsyncResult* result, gpointer self) {
    auto* probe = static_cast<LpdProbe*>(self);
    GError* error = nullptr;
    const gssize got = g_input_stream_read_finish(G_INPUT_STREAM(source), result, &error);
    // LPRng says "no connect permissions" and resets at once, so often only the reset arrives.
    if (error != nullptr && probe->reply_.empty() && probe->refusal_.empty() &&
        !probe->attemptTimedOut_)
      probe->refusal_ = error->message;
    g_clear_error(&error);
    if (probe->closeIfCancelled()) return;
    if (got > 0 && probe->reply_.size() < kMostReplyBytes) {
      probe->reply_.append(probe->buffer_.data(), static_cast<std::size_t>(got));
      probe->readMore();
      return;
    }
    probe->replied();  // the end, an error or a timeout: judge what came
  }

  void replied() {
    endAttempt();
    if (asked_ == kAllQueues) {
      for (const std::string& queue : lprngQueues(reply_)) queueAt(queue);
      if (endIfCancelled()) return;  // by whom it told of a queue
      if (found_ > 0) return finishAndFree(LpdOutcome::kFound, "");
      if (!lpdRefusal(reply_).empty())
        return finishAndFree(LpdOutcome::kRefused, lpdRefusal(reply_));
      next_ = 0;
    } else if (probedQueueExists(reply_)) {
      queueAt(asked_);
      if (endIfCancelled()) return;
    }
    if (next_ < kUsualQueues.size()) return ask(kUsualQueues[next_++]);
    if (found_ > 0) return finishAndFree(LpdOutcome::kFound, "");
    finishAndFree(refusal_.empty() ? LpdOutcome::kNothingFound : LpdOutcome::kRefused, refusal_);
  }

  void queueAt(const std::string& queue) {
    if (cancelled_) return;
    noteFindCallback();
    ++found_;
    events_.queueFound(queue);
  }

  void finishAndFree(LpdOutcome outcome, const std::string& reason) {
    finish(outcome, reason);
    delete this;
  }

  std::string host_;
  LpdProbeEvents events_;
  GCancellable* cancellable_;
  GSocketClient* client_;
  GSocketAddress* address_ = nullptr;
  GSocketConnection* connection_ = nullptr;
  GCancellable* attempt_ = nullptr;
  guint timer_ = 0, attemptTimer_ = 0;
  bool cancelled_ = false, attemptTimedOut_ = false;
  int found_ = 0;
  std::size_t next_ = 0;
  std::string asked_, request_, reply_, refusal_;
  std::array<char, 4096> buffer_{};
};

LpdProbe* startLpdProbe(const std::string& host, LpdProbeEvents events) {
  return new LpdProbe(host, std::move(events));
}

void cancelLpdProbe(LpdProbe* probe) {
  probe->cancel();
}
