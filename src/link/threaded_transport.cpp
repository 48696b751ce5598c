#include "link/threaded_transport.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#if !defined(_WIN32)
#include <signal.h>
#endif

namespace qvr {

namespace {

// How long the caller sleeps between looks at a call in flight: short, so a reply that comes
// in a millisecond costs no more than that; the pump in between keeps the window painted.
constexpr auto kLookInterval = std::chrono::milliseconds(1);
// At destruction, how long a stuck call may still take before its thread is left to itself.
constexpr auto kJoinGrace = std::chrono::milliseconds(300);

// Termination signals are for the program's own thread, which decides when to end; here they
// would interrupt a report half-way. The thread is born with them blocked: one that blocked
// them itself could take a signal in its first instants and hold it unhandled from then on.
class SignalsKeptFromNewThreads {
 public:
  SignalsKeptFromNewThreads() {
#if !defined(_WIN32)
    sigset_t set;
    sigemptyset(&set);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&set, signal);
    pthread_sigmask(SIG_BLOCK, &set, &previous_);
#endif
  }
  ~SignalsKeptFromNewThreads() {
#if !defined(_WIN32)
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
#endif
  }
  SignalsKeptFromNewThreads(const SignalsKeptFromNewThreads&) = delete;
  SignalsKeptFromNewThreads& operator=(const SignalsKeptFromNewThreads&) = delete;

 private:
#if !defined(_WIN32)
  sigset_t previous_;
#endif
};

}  // namespace

// One call at a time travels from the caller to the transport thread and back.
struct ThreadedTransport::Shared {
  std::unique_ptr<Transport> inner;
  std::mutex mutex;
  std::condition_variable wake;  // the thread: a call or the end; the caller: a call done
  bool callPosted = false;       // a call waits for the thread or runs on it
  bool callDone = false;
  bool abandoned = false;   // the caller gave up on the call in flight
  bool closeAfter = false;  // close the controller once the call in flight returns
  bool stop = false;
  bool threadEnded = false;
  CallKind kind = CallKind::kSend;
  PacketBytes packet{};
  LinkResult result = LinkOk;

  void Serve() {
    std::unique_lock lock(mutex);
    for (;;) {
      wake.wait(lock, [this] { return stop || (callPosted && !callDone); });
      if (callPosted && !callDone) {
        RunCall(lock);
        continue;
      }
      if (stop) break;
    }
    threadEnded = true;
    wake.notify_all();
  }

  void RunCall(std::unique_lock<std::mutex>& lock) {
    PacketBytes local = packet;
    const CallKind callKind = kind;
    lock.unlock();
    const LinkResult callResult = callKind == CallKind::kSend ? inner->SendFeatureReport(local)
                                  : callKind == CallKind::kReceive
                                      ? inner->ReceiveFeatureReport(local)
                                      : inner->TakeAdapter();
    lock.lock();
    if (abandoned || closeAfter) inner->CloseController();
    if (abandoned) {
      // Nobody waits for this answer any more; the slot is free for the next call.
      abandoned = false;
      callPosted = false;
    } else {
      packet = local;
      result = callResult;
      callDone = true;
    }
    closeAfter = false;
    wake.notify_all();
  }
};

ThreadedTransport::ThreadedTransport(std::unique_ptr<Transport> inner, Host& host, Clock& clock,
                                     uint32_t deadlineMs)
    : shared_(std::make_shared<Shared>()), host_(host), clock_(clock), deadlineMs_(deadlineMs) {
  shared_->inner = std::move(inner);
  // The thread keeps the shared state alive, so a call stuck past this object's end can
  // still return into it.
  const SignalsKeptFromNewThreads keptAway;
  thread_ = std::thread([shared = shared_] { shared->Serve(); });
}

ThreadedTransport::~ThreadedTransport() {
  std::unique_lock lock(shared_->mutex);
  shared_->stop = true;
  shared_->closeAfter = true;
  if (!shared_->callPosted) shared_->inner->CloseController();
  shared_->wake.notify_all();
  const bool ended =
      shared_->wake.wait_for(lock, kJoinGrace, [this] { return shared_->threadEnded; });
  lock.unlock();
  // Joined when it ended; a thread stuck in a call is left to finish on its own, touching only
  // the shared state it keeps alive.
  if (ended)
    thread_.join();
  else
    thread_.detach();
}

void ThreadedTransport::EndExchange() {
  shared_->inner->EndExchange();
}

void ThreadedTransport::HoldAdapter(bool hold) {
  shared_->inner->HoldAdapter(hold);
}

AdapterHolder ThreadedTransport::BusyHolder() const {
  return shared_->inner->BusyHolder();
}

AdapterLockProblem ThreadedTransport::LockProblem() const {
  return shared_->inner->LockProblem();
}

LinkResult ThreadedTransport::TakeAdapter() {
  PacketBytes unused{};
  return Call(CallKind::kTake, unused);
}

LinkResult ThreadedTransport::SendFeatureReport(const PacketBytes& packet) {
  PacketBytes copy = packet;
  return Call(CallKind::kSend, copy);
}

LinkResult ThreadedTransport::ReceiveFeatureReport(PacketBytes& packet) {
  return Call(CallKind::kReceive, packet);
}

void ThreadedTransport::CloseController() {
  std::lock_guard lock(shared_->mutex);
  if (shared_->callPosted) {
    shared_->closeAfter = true;
    return;
  }
  shared_->inner->CloseController();
}

// Waits, sleeping and pumping, until `ready` holds (true) or the deadline counted from `start`
// has passed (false). `ready` is evaluated under the shared lock.
bool ThreadedTransport::WaitUntil(const std::function<bool()>& ready, uint32_t start) {
  for (;;) {
    {
      std::unique_lock lock(shared_->mutex);
      if (shared_->wake.wait_for(lock, kLookInterval, ready)) return true;
    }
    host_.PumpWhileExchanging();
    if (uint32_t(clock_.NowMs() - start) >= deadlineMs_) return false;
  }
}

LinkResult ThreadedTransport::Call(CallKind kind, PacketBytes& packet) {
  const uint32_t start = clock_.NowMs();
  // A call abandoned earlier may still hold the thread; the new one waits for it, but only
  // within its own deadline.
  if (!WaitUntil([this] { return !shared_->callPosted; }, start)) return LinkTimeout;
  {
    std::lock_guard lock(shared_->mutex);
    shared_->kind = kind;
    shared_->packet = packet;
    shared_->callPosted = true;
    shared_->callDone = false;
    shared_->wake.notify_all();
  }
  const bool done = WaitUntil([this] { return shared_->callDone; }, start);
  std::lock_guard lock(shared_->mutex);
  // Checked again under the lock: the call may have returned since the last look.
  if (!done && !shared_->callDone) {
    shared_->abandoned = true;
    return LinkTimeout;
  }
  packet = shared_->packet;
  shared_->callPosted = false;
  shared_->callDone = false;
  return shared_->result;
}

}  // namespace qvr
