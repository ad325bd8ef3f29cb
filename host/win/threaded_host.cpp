#include "host/win/threaded_host.h"

#include <utility>

namespace orv::win {

std::string ThreadedHost::NoAnswerText(std::chrono::milliseconds limit) {
  const auto ms = limit.count();
  return "the host did not answer in " + (ms % 1000 == 0 ? std::to_string(ms / 1000) + " s" : std::to_string(ms) + " ms");
}

ThreadedHost::ThreadedHost(std::shared_ptr<HostThread> thread, std::shared_ptr<HostEventQueue> queue,
                           std::chrono::milliseconds answerLimit)
    : thread_(std::move(thread)), queue_(std::move(queue)), answerLimit_(answerLimit) {}

MadeHost ThreadedHost::Create(HostMaker make, std::chrono::milliseconds answerLimit) {
  MadeHost out;
  auto thread = HostThread::Start();
  auto queue = HostEventQueue::Create();
  if (!thread || !queue->ready()) {
    out.error = "no thread or window for the host: " + std::to_string(::GetLastError());
    queue->close();
    if (thread) thread->finish();
    return out;
  }
  std::unique_ptr<ThreadedHost> host(new ThreadedHost(thread, queue, answerLimit));
  auto made = std::make_shared<MadeHost>();
  made->error = "out of memory";
  auto job = std::make_shared<HostJob>();
  job->op = "making the host object";
  job->run = [made, make = std::move(make), queue](std::unique_ptr<Host>& inner) {
    *made = make(queue);
    inner = std::move(made->host);
  };
  if (!host->run(job)) {
    out.error = NoAnswerText(answerLimit);
    out.unanswered = true;
    return out;
  }
  // The object itself stays on its thread (the job moved it there).
  out.eventsError = made->eventsError;
  out.error = made->error;
  if (!out.error.empty()) return out;
  out.host = std::move(host);
  return out;
}

ThreadedHost::~ThreadedHost() {
  queue_->close();
  if (!thread_) return;   // given up: nothing to wait for
  thread_->finish();
  // Letting go of the object is a call to the host too: bounded the same way.
  WaitForAnswer(thread_->finished(), HostClock::now() + answerLimit_);
}

bool ThreadedHost::await(HostJob& job) {
  const CallWaitEnd end = WaitForAnswer(job.answered.get(), job.deadline, [this] { return givenUp_; });
  if (end == CallWaitEnd::Answered) {
    if (inFlight_.get() == &job) inFlight_.reset();
    return true;
  }
  if (end == CallWaitEnd::Deadline && !givenUp_) giveUp(job);
  return false;
}

bool ThreadedHost::run(const std::shared_ptr<HostJob>& job) {
  // A call from inside the wait of another: that one is answered or given up first.
  while (inFlight_ && !givenUp_) {
    std::shared_ptr<HostJob> outer = inFlight_;
    if (!await(*outer)) return false;
  }
  if (givenUp_) return false;
  job->answered.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!job->answered) return false;
  job->deadline = HostClock::now() + answerLimit_;
  inFlight_ = job;
  thread_->post(job);
  return await(*job);
}

void ThreadedHost::giveUp(const HostJob& job) {
  givenUp_ = true;
  givenUpWhy_ = std::string(job.op) + " failed: " + NoAnswerText(answerLimit_);
  inFlight_.reset();
  queue_->close();
  // The thread lets go of the object if the call ever returns; nobody waits.
  thread_->finish();
  thread_.reset();
}

template <class R, class Call>
R ThreadedHost::call(const char* op, Call&& hostCall) {
  // A connection given up on may still hold whatever it was last asked
  // (the radio keyed): every call on it says so, and the link releases the
  // radio through a fresh one.
  if (givenUp_) return R::givenUp(givenUpWhy_);
  auto result = std::make_shared<R>(R::failure(std::string(op) + " failed: out of memory"));
  auto job = std::make_shared<HostJob>();
  job->op = op;
  job->run = [result, hostCall = std::forward<Call>(hostCall)](std::unique_ptr<Host>& host) {
    if (host) *result = hostCall(*host);
  };
  if (!run(job)) return R::givenUp(givenUpWhy_);
  return *result;
}

HostReply ThreadedHost::setTransmit(bool on) {
  return call<HostReply>("SetTransmit", [on](Host& h) { return h.setTransmit(on); });
}
HostValue<bool> ThreadedHost::firstBusyFlag() {
  return call<HostValue<bool>>("FirstBusyFlag", [](Host& h) { return h.firstBusyFlag(); });
}
HostValue<bool> ThreadedHost::secondBusyFlag() {
  return call<HostValue<bool>>("SecondBusyFlag", [](Host& h) { return h.secondBusyFlag(); });
}
HostReply ThreadedHost::sendIdentification(bool value) {
  return call<HostReply>("SendIdentification", [value](Host& h) { return h.sendIdentification(value); });
}
HostReply ThreadedHost::transmitFile(const std::string& path, bool value) {
  return call<HostReply>("TransmitFile", [path, value](Host& h) { return h.transmitFile(path, value); });
}
HostValue<std::string> ThreadedHost::stationName() {
  return call<HostValue<std::string>>("StationName", [](Host& h) { return h.stationName(); });
}
HostReply ThreadedHost::exitSignal(bool value) {
  return call<HostReply>("ExitSignal", [value](Host& h) { return h.exitSignal(value); });
}

}  // namespace orv::win
