#pragma once
// What a step of the run that can fail came to: the run goes on, or it ends.
// An end through the abort protocol carries what the protocol needs (the log
// line, the message, where the extra disconnect goes); the phase hands the
// outcome to the run (VantorimRun::proceed), which runs the protocol. Errors
// of the platform and of the database stay exceptions where they arise and
// become an outcome in one place (outcomeOf).
#include <exception>
#include <string>
#include <utility>

namespace vt {

// Where an abort's extra disconnect of the online session goes.
enum class ExtraDisconnect {
  None,           // the closing routine's own disconnect is enough
  BeforeMessage,  // between the log line and the message
  AfterMessage,   // between the message and the closing routine
  BeforeShutdown, // right before the closing routine (ends without a message)
};

class StepOutcome {
public:
  enum class Kind {
    GoOn,  // the next step runs
    Abort, // the abort protocol ends the run
    Ended, // the run has ended by itself (a restart, the hand-over, the user's "Não")
  };

  static StepOutcome goOn() { return StepOutcome(Kind::GoOn); }
  // The protocol with the log line and the warning box "Atenção" showing the message.
  static StepOutcome abort(std::string logLine, std::string message, ExtraDisconnect where = ExtraDisconnect::None) {
    StepOutcome outcome(Kind::Abort);
    outcome.logLine_ = std::move(logLine);
    outcome.message_ = std::move(message);
    outcome.where_ = where;
    return outcome;
  }
  // The protocol without a message: the failing operation has told the user
  // already, or the user has just cancelled. The log line may be empty too.
  static StepOutcome alreadyTold(std::string logLine = {}, ExtraDisconnect where = ExtraDisconnect::None) {
    StepOutcome outcome = abort(std::move(logLine), {}, where);
    outcome.userTold_ = true;
    return outcome;
  }
  static StepOutcome ended() { return StepOutcome(Kind::Ended); }

  Kind kind() const { return kind_; }
  bool goesOn() const { return kind_ == Kind::GoOn; }
  explicit operator bool() const { return goesOn(); }

  const std::string& logLine() const { return logLine_; } // none when empty
  const std::string& message() const { return message_; } // none when the user was told already
  ExtraDisconnect where() const { return where_; }
  bool userTold() const { return userTold_ || message_.empty(); }

private:
  explicit StepOutcome(Kind kind) : kind_(kind) {}

  Kind kind_;
  std::string logLine_;
  std::string message_;
  ExtraDisconnect where_ = ExtraDisconnect::None;
  bool userTold_ = false;
};

// Runs a step whose platform or database calls may raise an error, and turns
// such an error into the outcome `onError` makes of its text.
template <class Step, class OnError>
StepOutcome outcomeOf(Step step, OnError onError) {
  try {
    return step();
  } catch (const std::exception& e) {
    return onError(std::string(e.what()));
  }
}

} // namespace vt
