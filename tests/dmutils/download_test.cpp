// downloadArquivo against the test HTTP server on loopback, with the
// progress protocol it reports recorded.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dmutils/dialogs_port.h"
#include "dmutils/dm_utils.h"
#include "platform/clock.h"
#include "platform/url_download.h"
#include "tests/support/http_test_server.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_drive.h"

namespace vt {
namespace {

struct ProgressStep {
  std::string step, title, animation;
  int position, minimum, maximum;
  bool operator==(const ProgressStep&) const = default;
};

class RecordingForms final : public DialogsPort {
public:
  bool formMensagem(std::string_view, std::string_view, bool, bool) override { return true; }
  void formProgress(std::string_view AIniEnd, std::string_view ATitle, std::string_view AAnima, int APosicao,
                    int AMinimo, int AMaximo, std::string_view) override {
    steps.push_back({std::string(AIniEnd), std::string(ATitle), std::string(AAnima), APosicao, AMinimo, AMaximo});
  }
  void formConfiguracaoConfig() override {}
  std::vector<ProgressStep> steps;
};

class downloadArquivo : public testing::Test {
protected:
  downloadArquivo() { dmUtils.attachForms(forms); }
  test::HttpTestServer server;
  test::TempDrive drive;
  test::ScriptedMessageUi ui;
  platform::ManualClock clock;
  RecordingForms forms;
  TdmUtils dmUtils{clock, ui};
  std::string folder = test::HttpTestServer::uniqueFolder();
};

TEST_F(downloadArquivo, WritesTheFileAndAnswersZero) {
  std::string bytes(300000, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  server.put(folder + "/Caspelo.zip", bytes);
  const std::string url = server.url(folder + "/Caspelo.zip");
  EXPECT_EQ(dmUtils.downloadArquivo(url, drive.path("Caspelo.zip"), true), 0);
  EXPECT_EQ(drive.read("Caspelo.zip"), bytes);
  EXPECT_EQ(forms.steps, (std::vector<ProgressStep>{{"pbInicia", "Download de " + url, "Copy", 0, 0, 100},
                                                    {"pbFim", "", "Copy", 0, 0, 100}}));
  EXPECT_TRUE(ui.shown.empty());

  // Without progress nothing is reported.
  forms.steps.clear();
  EXPECT_EQ(dmUtils.downloadArquivo(url, drive.path("outra.zip"), false), 0);
  EXPECT_EQ(drive.read("outra.zip"), bytes);
  EXPECT_TRUE(forms.steps.empty());
}

TEST_F(downloadArquivo, AFailureAnswersThePlatformsCodeAndStillEndsTheProgress) {
  const struct {
    const char* what;
    std::string url;
    bool notFound; // INET_E_RESOURCE_NOT_FOUND, not the error page saved as the file
  } cases[] = {
      {"a file the server does not have", server.url(folder + "/nao-existe.zip"), true},
      {"an error the server answers", server.url("_/status/500/" + folder), true},
      {"a server that does not answer", "http://127.0.0.1:1/" + folder + "/x.zip", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    forms.steps.clear();
    const int code = dmUtils.downloadArquivo(c.url, drive.path("falha.zip"), true);
    EXPECT_NE(code, 0);
    if (c.notFound) {
      EXPECT_EQ(code, static_cast<int>(platform::kInetResourceNotFound));
    }
    ASSERT_EQ(forms.steps.size(), 2u);
    EXPECT_EQ(forms.steps[0].step, "pbInicia");
    EXPECT_EQ(forms.steps[1].step, "pbFim");
  }
  EXPECT_TRUE(ui.shown.empty());
}

} // namespace
} // namespace vt
