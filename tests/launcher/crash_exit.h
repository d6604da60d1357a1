#pragma once
// How the crash tests' program (crash_child) ends when it reaches the step it
// was told to stop at: SIGKILL on POSIX, this exit code through
// TerminateProcess under Windows.
namespace vt::test {

inline constexpr unsigned kKilledExitCode = 137;

} // namespace vt::test
