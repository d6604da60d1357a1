// The abort protocol: the log line, the message, the extra disconnect where
// the failure puts it, the closing routine and the termination request; and
// the scoped session that disconnects exactly once.
#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>

#include "launcher/run.h"
#include "online/dm_online.h"
#include "tests/launcher/launcher_fixture.h"

namespace vt {
namespace {

using test::LauncherFixture;

// A disconnect asks the credentials library for the primary server's five
// values, so the count of questions tells how many disconnects happened.
constexpr int kPerDisconnect = 5;

TEST(AbortRun, TheExtraDisconnectComesWhereTheFailurePutsIt) {
  const struct {
    ExtraDisconnect where;
    bool withMessage;
    int disconnectsAtMessage;        // before the box was shown
    int disconnectsAtClosingRoutine; // before "Encerra a aplicação" (the routine's own comes after it)
  } cases[] = {
      {ExtraDisconnect::None, true, 0, 0},
      {ExtraDisconnect::BeforeMessage, true, 1, 1},
      {ExtraDisconnect::AfterMessage, true, 0, 1},
      {ExtraDisconnect::BeforeShutdown, false, 0, 1},
  };
  for (const auto& c : cases) {
    for (bool withSession : {false, true}) {
      SCOPED_TRACE(static_cast<int>(c.where) * 10 + withSession);
      LauncherFixture f;
      int atMessage = -1, atClosing = -1;
      f.ui.onShow = [&](const test::ShownBox&) { atMessage = f.credentials.calls; };
      f.view.onLog = [&](const std::string& line) {
        if (line == "- Encerra a aplicação\r\n") atClosing = f.credentials.calls;
      };
      {
        // A session the run holds is the one the abort disconnects through;
        // one of the stretch's own is not.
        std::optional<ScopedOnlineSession> own;
        ScopedOnlineSession& session = withSession ? f.run.beginSession() : own.emplace(f.dmOnline);
        EXPECT_FALSE(f.run.proceed(StepOutcome::abort("Falhou o passo", c.withMessage ? "Não deu certo." : "", c.where)));
        if (withSession) EXPECT_FALSE(session.pending());
      }
      // The closing routine disconnects as well; a session the run holds owes
      // nothing afterwards, one it does not hold closes once more.
      const int extra = c.where == ExtraDisconnect::None ? 0 : 1;
      const int sessionLeft = withSession ? 0 : 1;
      EXPECT_EQ(f.credentials.calls, (extra + 1 + sessionLeft) * kPerDisconnect);
      if (c.withMessage) {
        EXPECT_EQ(atMessage, c.disconnectsAtMessage * kPerDisconnect);
        ASSERT_EQ(f.ui.shown.size(), 1u);
        EXPECT_EQ(f.ui.shown[0].caption, "Atenção");
        EXPECT_EQ(f.ui.shown[0].text, "Não deu certo.");
      } else {
        EXPECT_TRUE(f.ui.shown.empty());
      }
      EXPECT_EQ(atClosing, c.disconnectsAtClosingRoutine * kPerDisconnect);
      EXPECT_TRUE(f.form.terminationRequested());
      EXPECT_EQ(f.form.state().memLog, "- Falhou o passo\r\n- Encerra a aplicação\r\n");
    }
  }
}

TEST(ScopedOnlineSession, DisconnectsOnceWhereverTheStretchLeaves) {
  LauncherFixture f;
  {
    ScopedOnlineSession session(f.dmOnline);
    session.disconnect();
    session.disconnect();
  }
  EXPECT_EQ(f.credentials.calls, kPerDisconnect);

  f.credentials.calls = 0;
  try {
    ScopedOnlineSession session(f.dmOnline);
    throw std::runtime_error("erro inesperado");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(f.credentials.calls, kPerDisconnect);
}

TEST(VantorimRun, ASessionThatSpansPhasesIsClosedWhenTheRunLeaves) {
  LauncherFixture f;
  f.run.beginSession();
  f.credentials.calls = 0;
  f.run.endSession();
  EXPECT_EQ(f.credentials.calls, kPerDisconnect);
  f.run.endSession(); // nothing left to close
  EXPECT_EQ(f.credentials.calls, kPerDisconnect);
}

} // namespace
} // namespace vt
