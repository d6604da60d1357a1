#pragma once
// The steps of the run that change the install root, by name. Each is passed
// to the run's stepReached hook right after it happened, so a test build of
// the program can end there as a power cut would, and show that the next run
// completes with nothing lost. Names with an application or a layout carry it
// after the colon ("troca:Caspelo:afastado").
#include <string>
#include <string_view>

namespace vt {

class VantorimRun;

namespace steps {
// Self-update: the new launcher extracted under its temporary name, then in
// place with the old one under its swap name.
inline constexpr std::string_view kSelfUpdateStaged = "autoatualizacao:extraido";
inline constexpr std::string_view kSelfUpdateInPlace = "autoatualizacao:no-lugar";
// Application update: a package extracted into the download folder, the
// journal written, and the three steps of one executable's swap (the new one
// copied under its temporary name, the old one under its swap name, the new
// one in place).
inline constexpr std::string_view kPackageExtracted = "pacote:extraido";
inline constexpr std::string_view kJournalWritten = "diario:gravado";
inline constexpr std::string_view kSwapCopied = "troca:copiado";
inline constexpr std::string_view kSwapAside = "troca:afastado";
inline constexpr std::string_view kSwapInPlace = "troca:no-lugar";
// Reports swap: the old folder under its dated backup name, then the new one
// in place before the layouts are carried over.
inline constexpr std::string_view kReportsAside = "reports:afastado";
inline constexpr std::string_view kReportsInPlace = "reports:no-lugar";
} // namespace steps

// "<step>:<subject>" for the steps of one application ("troca:Caspelo:afastado"
// from kSwapAside and "Caspelo").
std::string stepFor(std::string_view step, std::string_view subject);

// Tells the run's test hook, when there is one, that the step has happened.
void reachedStep(VantorimRun& run, std::string_view step);

} // namespace vt
