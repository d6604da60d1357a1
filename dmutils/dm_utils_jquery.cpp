#include <string>

#include "dmutils/dm_utils.h"
#include "dmutils/jquery_copy.h"
#include "platform/files.h"
#include "platform/os_error.h"
#include "platform/self.h"

namespace vt {

void writeJQueryCopy(std::string_view applicationFolder, std::optional<std::string_view> copy) {
  const std::string folder = std::string(applicationFolder) + std::string(kJQueryFolder);
  const std::string file = folder + "\\" + std::string(kJQueryFileName);
  if (platform::fileExists(file)) return;
  // Checked before anything is created: a build without the copy changes nothing.
  if (!copy)
    throw JQueryCopyMissing("This build carries no copy of " + std::string(kJQueryFileName) + " to write as " + file +
                            ": build it with -DVANTORIM_JQUERY_FILE=<the published " + std::string(kJQueryFileName) +
                            ">.");
  if (!platform::directoryExists(folder)) platform::createDirectories(folder);
  // The copy is written under another name and takes the file's name only
  // when whole: a write cut short (a full disk, a power cut) never leaves a
  // broken library that, being present, would never be written again.
  const std::string partial = folder + "\\novo_" + std::string(kJQueryFileName);
  platform::writeFileReplacing(partial, *copy);
  if (!platform::moveFile(partial, file)) {
    platform::deleteFile(partial);
    if (!platform::fileExists(file))
      throw platform::OsError(5, "Cannot create file \"" + file + "\". " + platform::OsError::messageFor(5));
  }
}

void TdmUtils::verificaArquivoJQuery() {
  const std::string self = platform::currentExecutablePath();
  writeJQueryCopy(self.substr(0, self.find_last_of('\\') + 1), embeddedJQueryCopy());
}

} // namespace vt
