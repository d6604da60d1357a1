// The zip reader on hostile archives: reading the central directory, the
// refusal rules for entry names, and the extraction itself. Besides memory
// faults it stops on an extraction that leaves anything outside the target
// folder, a link inside it, or a half-written part file behind.
#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>

#include "fuzz/fuzz_support.h"
#include "utils/zip_archive.h"

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const vt::fuzz::Workspace& ws = vt::fuzz::Workspace::get();
  ws.reset();
  const fs::path archive = ws.scratch() / "pacote.zip";
  vt::fuzz::Workspace::writeFile(archive, vt::fuzz::asText(data, size));

  vt::utils::ZipArchive zip;
  if (!zip.open(archive)) return 0;
  // An archive may itself name an entry like a part file; only an archive that
  // does not can show a part file left behind.
  bool namesPartFiles = false;
  for (const auto& entry : zip.entries()) {
    (void)vt::utils::unsafeEntryName(entry.name);
    if (entry.name.find(".vt-extract") != std::string::npos) namesPartFiles = true;
  }

  (void)zip.extractAll("C:\\destino\\");

  std::error_code ec;
  for (const auto& item : fs::directory_iterator(ws.drive(), ec)) {
    if (item.path().filename() != "destino") vt::fuzz::broken("an entry was written outside the target folder: " + item.path().string());
  }
  const fs::path target = ws.drive() / "destino";
  if (!fs::exists(target, ec)) return 0;
  for (auto it = fs::recursive_directory_iterator(target, ec); it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (ec) break;
    if (it->is_symlink(ec)) vt::fuzz::broken("the extraction made a link: " + it->path().string());
    if (!namesPartFiles && it->path().extension() == ".vt-extract") vt::fuzz::broken("a part file stayed behind: " + it->path().string());
  }
  return 0;
}
