#include <gtest/gtest.h>

#include <string>

#include "configured_password.h"
#include "launcher/implanter_password.h"
#include "utils/text.h"

namespace vt {
namespace {

TEST(isImplanterPassword, TheConfiguredPasswordInAnyLetterCaseIsAccepted) {
  const std::string password = kConfiguredPassword;
  ASSERT_FALSE(password.empty());
  EXPECT_TRUE(isImplanterPassword(password));
  EXPECT_TRUE(isImplanterPassword(utils::upperCase(password)));
  std::string mixed = password;
  for (std::size_t i = 0; i < mixed.size(); i += 2)
    if (mixed[i] >= 'a' && mixed[i] <= 'z') mixed[i] = static_cast<char>(mixed[i] - 'a' + 'A');
  EXPECT_TRUE(isImplanterPassword(mixed));
}

TEST(isImplanterPassword, AnyOtherTextIsRefused) {
  const std::string password = kConfiguredPassword;
  const std::string cases[] = {
      password + " ", " " + password, password + "\t", password.substr(0, password.size() - 1), password + password,
      "", utils::upperCase(password) + " ",
  };
  for (const auto& typed : cases) EXPECT_FALSE(isImplanterPassword(typed)) << "«" << typed << "»";
}

} // namespace
} // namespace vt
