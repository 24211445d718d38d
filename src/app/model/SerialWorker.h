// A thread of the host's own that runs jobs one at a time, in the order they were queued.
// Jobs get copies of what they need and return a value or throw; the outcome is handed back
// to the receiver's thread as a queued call, so the job never touches the receiver itself.
#pragma once

#include <QMetaObject>
#include <QObject>
#include <QString>
#include <QThread>
#include <exception>
#include <functional>
#include <memory>
#include <utility>
#include <variant>

namespace tessel {

// What a job produced, or the error it threw.
template <class T>
using Outcome = std::variant<T, std::exception_ptr>;

class SerialWorker {
 public:
  explicit SerialWorker(const QString& name);
  // Runs every job queued so far, then stops the thread: a queued settings write must not be
  // lost on the way out. Outcomes that arrive after the receiver is gone are dropped.
  ~SerialWorker();
  SerialWorker(const SerialWorker&) = delete;
  SerialWorker& operator=(const SerialWorker&) = delete;

  // Queues `job`; `done` later runs on `receiver`'s thread with the outcome, unless the
  // receiver is gone by then. The receiver must outlive this worker's thread.
  template <class T>
  void run(std::function<T()> job, QObject* receiver, std::function<void(Outcome<T>)> done) {
    QMetaObject::invokeMethod(
        context_.get(),
        [job = std::move(job), receiver, done = std::move(done)]() mutable {
          Outcome<T> outcome = runCaught<T>(job);
          QMetaObject::invokeMethod(
              receiver, [done = std::move(done), outcome = std::move(outcome)]() { done(outcome); },
              Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
  }

 private:
  template <class T>
  static Outcome<T> runCaught(const std::function<T()>& job) {
    try {
      return job();
    } catch (...) {
      return std::current_exception();
    }
  }

  QThread thread_;
  std::unique_ptr<QObject> context_;  // lives on thread_; jobs are queued to it
};

}  // namespace tessel
