// The version reader on hostile executables: the PE headers, section table
// and resource directory, the ELF section table, and the version block's
// records, through every query the utility module makes. The same bytes are
// also taken as a version block of their own, so the record walk is reached
// without a file around it.
#include <cstdint>
#include <span>
#include <string>

#include "fuzz/fuzz_support.h"
#include "platform/pe_version.h"
#include "utils/version_info.h"

namespace {

using vt::platform::VersionBlock;

void queryAll(const VersionBlock& block) {
  (void)block.fileVersion();
  (void)block.productVersion();
  for (const auto& translation : block.translations()) {
    const std::string table = "\\StringFileInfo\\" + vt::platform::translationKey(translation);
    for (const char* key : {"CompanyName", "FileDescription", "FileVersion", "ProductName", "Comments"})
      (void)block.stringValue(table + "\\" + key);
  }
  (void)block.stringValue("\\StringFileInfo\\041604e4\\CompanyName");
  (void)block.query("\\VarFileInfo\\Translation");
  (void)block.query("\\\\StringFileInfo\\\\");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const vt::fuzz::Workspace& ws = vt::fuzz::Workspace::get();
  const std::span<const unsigned char> bytes(data, size);

  if (auto block = VersionBlock::parse(bytes)) queryAll(*block);
  (void)vt::platform::fixedFileVersion(bytes);
  (void)vt::platform::fixedProductVersion(bytes);

  const auto file = ws.drive() / "Quorvelin" / "Programa.exe";
  vt::fuzz::Workspace::writeFile(file, vt::fuzz::asText(data, size));
  if (auto raw = vt::platform::readVersionBlock(file)) {
    auto block = VersionBlock::parse(*raw);
    if (!block) vt::fuzz::broken("readVersionBlock gave a block that does not parse");
    queryAll(*block);
  }
  (void)vt::utils::VersionInfo::GetExeVersion("C:\\Quorvelin\\Programa.exe");
  (void)vt::utils::VersionInfo::getFileVersion("C:\\Quorvelin\\Programa.exe");
  return 0;
}
