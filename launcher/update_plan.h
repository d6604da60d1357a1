#pragma once
// The decisions of the application update that need no files and no server:
// which applications a company uses, which of them the company no longer has,
// how versions compare and which server folder the packages come from.
#include <string>
#include <string_view>
#include <vector>

namespace vt {

// The integer of a version's digits ("V2.03.10.05" -> 2031005); 0 when the
// row is missing or the text is empty. utils::ConvertError when the digits do
// not form a 32-bit integer (a text without any digit included).
int versionValue(bool rowFound, std::string_view versionText);

// The first five characters of the value written in decimal, or the whole
// number when it is shorter (2031005 -> "20310", 0 -> "0").
std::string versionPrefix(int value);

// Where the packages of one update come from, below "Quorvelin/".
struct PackageFolder {
  std::string folder;        // "upd", "upd_anterior" or "upd_onlinerelease/NN"
  bool samePrefix = false;   // the client's prefix equals the reference client's
  bool release = false;      // a release number chose the folder
};

// The reference client's value, the company's value and the release number
// (0 or less for none): "upd" for equal prefixes, "upd_anterior" otherwise,
// and "upd_onlinerelease/" + the release number with at least two digits when
// one is given.
PackageFolder choosePackageFolder(int referenceValue, int clientValue, int releaseNumber);

// The applications a company uses, in the application table's order: the
// main and auditor applications, the lumber-marketplace one for the segment
// "MADEIREIRA" (exact text), then one per module row in the rows' order (7
// Caspelo, 9 Mirendal, 17 Dostravo, 18 Zentrix; a code that comes twice takes
// its application twice; other codes take nothing).
std::vector<std::string> applicationsTaken(std::string_view segment, const std::vector<int>& moduleCodes);

// The applications that may be removed, in the order they are checked, that
// the install list does not hold (exact comparison). The main and auditor
// applications are never among them.
std::vector<std::string> applicationsToRemove(const std::vector<std::string>& installList);

} // namespace vt
