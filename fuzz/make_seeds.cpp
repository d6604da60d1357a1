// Writes the seed corpora of the fuzz targets from the project's own writers:
// zip packages from the test zip writer (stored, deflated, ZIP64, folders,
// Unix modes, a self-extracting stub), executables from the PE builder (PE32
// and PE32+, string tables, translations) and this build's own ELF program
// with its ".vt_version" section, a Config.ini written by the utility
// module, an essential file written by criaArquivoBaseOnline, a legacy JSON
// file and dmutils request lines.
//
//   make_seeds <output folder> <ELF program with a version section>
//
// Each target's seeds go into <output folder>/<target>/.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "dialogs/forms.h"
#include "dmutils/dm_utils.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/terminal_modules.h"
#include "platform/clock.h"
#include "platform/encoding.h"
#include "terminal/utils_db_online.h"
#include "tests/fixtures/pe_builder.h"
#include "tests/fixtures/zip_writer.h"
#include "utils/numbers_dates.h"

namespace fs = std::filesystem;

namespace {

fs::path out;

void seed(const std::string& target, const std::string& name, std::string_view bytes) {
  vt::fuzz::Workspace::writeFile(out / target / name, bytes);
}

std::string readHost(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void zipSeeds() {
  using vt::test::ZipEntryOptions;
  using vt::test::ZipWriter;
  seed("zip_archive", "deflated.zip", vt::test::makeZip({{"Vantorim.exe", "MZ programa"}, {"leia-me.txt", "texto"}}));
  seed("zip_archive", "stored.zip", vt::test::makeZip({{"Caspelo.exe", "MZ"}}, ZipEntryOptions{.deflate = false}));
  {
    ZipWriter w;
    w.addDirectory("reports/", 040755);
    w.addDirectory("reports/venda/");
    w.add("reports/venda/pedido.fr3", "<relatorio/>", ZipEntryOptions{.unixMode = 0100644});
    w.add("Quorvelin.exe", std::string(300, 'x'), ZipEntryOptions{.unixMode = 0100755});
    seed("zip_archive", "folders_modes.zip", w.finish());
  }
  {
    ZipWriter w;
    w.add("grande.bin", std::string(200, '\x01'), ZipEntryOptions{.zip64 = true});
    seed("zip_archive", "zip64.zip", w.finish(true));
  }
  {
    ZipWriter w;
    w.add("relat\xC3\xB3rio.txt", "acentos");
    seed("zip_archive", "utf8_name.zip", w.finish());
  }
  seed("zip_archive", "stub.zip", "MZ stub before the archive" + vt::test::makeZip({{"a.txt", "a"}}));
}

void versionSeeds(const fs::path& elfProgram) {
  vt::test::PeOptions pe;
  pe.fileVersion = {1, 2, 3, 45};
  pe.strings = {{"CompanyName", "Quorvelin"}, {"FileVersion", "1.2.3.45"}, {"ProductName", "Vantorim"}};
  seed("version_resource", "pe32plus.exe", vt::test::buildPe(pe).bytes);
  pe.pe32 = true;
  seed("version_resource", "pe32.exe", vt::test::buildPe(pe).bytes);
  vt::test::PeOptions bare;
  bare.translations.clear();
  bare.resourceName = 7;
  seed("version_resource", "pe_no_translation.exe", vt::test::buildPe(bare).bytes);
  const std::vector<unsigned char> block = vt::test::buildVersionBlock(pe);
  seed("version_resource", "block.bin", std::string(block.begin(), block.end()));
  seed("version_resource", "program.elf", readHost(elfProgram));
}

void moduleSeeds() {
  const vt::fuzz::Workspace& ws = vt::fuzz::Workspace::get();
  ws.reset();
  vt::fuzz::TerminalModules modules;
  auto& [clock, ui, dmUtils, dmForms, dbOnline] = modules;
  fs::create_directories(ws.drive() / "Quorvelin");

  const std::string config(vt::kConfigPath);
  dmUtils.setToConfig("CONEXAO", "AplicativoBasesExterno", "Caspelo", config);
  dmUtils.setToConfig("CONEXAO", "CaminhoExterno", "\"db.quorvelin.com.br:quorvelin_1200\"", config);
  dmUtils.setToConfig("DIV", "VER", "V1.02.03.45", config);

  dbOnline.cdsDados.CreateDataSet();
  vt::utils::TDateTime changed = 0, midnight = 0;
  vt::utils::tryEncodeDate(2023, 3, 15, changed);
  vt::utils::TDateTime time = 0;
  vt::utils::tryEncodeTime(14, 5, 9, 0, time);
  changed = vt::utils::composeDateTime(changed, time);
  vt::utils::tryEncodeDate(2024, 1, 2, midnight);
  dbOnline.cdsDados.Append(vt::ReportRow{12, "", "", std::nullopt});
  dbOnline.cdsDados.Append(vt::ReportRow{12, "pedido", "venda", changed});
  dbOnline.cdsDados.Append(vt::ReportRow{15, "nota", "nfe", midnight});
  std::string error;
  if (!dbOnline.criaArquivoBaseOnline(error)) throw std::runtime_error("criaArquivoBaseOnline: " + error);

  const std::string configBytes = readHost(ws.drive() / "Quorvelin" / "Config.ini");
  seed("config_ini", "Config.ini", configBytes);
  seed("config_ini", "Config_bom.ini", "\xEF\xBB\xBF" + configBytes);
  std::string utf16 = "\xFF\xFE";
  for (std::size_t pos = 0; pos < configBytes.size();) {
    char32_t cp = vt::platform::decodeUtf8(configBytes, pos);
    utf16 += static_cast<char>(cp & 0xFF);
    utf16 += static_cast<char>((cp >> 8) & 0xFF);
  }
  seed("config_ini", "Config_utf16.ini", utf16);

  const std::string stored = dmUtils.getFromConfig("CONFIGURACAO", "BancoOnLine", config);
  seed("essential_file", "stored.txt", stored);
  seed("essential_file", "plain.txt", "12;pedido|venda|15/03/202314:05:09*15;nota|nfe|02/01/2024");
  seed("essential_file", "quoted.txt", "7*\"8;a|b|01/01/2020\"*9;x|y|31/12/1999 23:59");
  ws.reset();
}

void textSeeds() {
  seed("legacy_essential_file", "hofn.fr3",
       "{\"status\": \"success\",\r\n \"empresas\": [{\"handle\": 12, \"reports\": [{\"filename\": \"pedido\",\r\n"
       "  \"diretorio\": \"venda\", \"dataalt\": \"15/03/2023 14:05:09\"}]},\r\n"
       " {\"handle\": \"15\", \"reports\": [{\"filename\": \"a\\\\b\", \"diretorio\": \"nfe\", \"dataalt\": \"02/01/2024\"}]},\r\n"
       " {\"handle\": 20, \"reports\": []}, 3]}\r\n");
  seed("legacy_essential_file", "hofn_bom.fr3",
       "\xEF\xBB\xBF{\"status\":\"success\",\"empresas\":[{\"handle\":7,\"reports\":[{\"filename\":\"relat\xC3\xB3rio\","
       "\"diretorio\":\"venda\",\"dataalt\":\"01/02/2020\"}]}]}");
  seed("legacy_essential_file", "hofn_cp1252.fr3",
       "{\"status\":\"success\",\"empresas\":[{\"handle\":7,\"reports\":[{\"filename\":\"relat\xF3rio\","
       "\"diretorio\":\"venda\",\"dataalt\":\"01/02/2020 10:00\"}]}]}");

  seed("dmutils_request", "documents.txt",
       "{\"op\":\"validaIE\",\"args\":[\"110.042.490.114\",\"SP\"]}\n"
       "{\"op\":\"validaCPF\",\"args\":[\"529.982.247-25\"]}\n"
       "{\"op\":\"validaGTIN13\",\"args\":[\"7891234567895\"]}\n"
       "{\"op\":\"soNumericos\",\"args\":[\"V1.02-b\"]}\r\n"
       "   \n"
       "{\"op\":\"insereCaracter\",\"args\":[\"123\",\"0\",6,true]}\n");
  seed("dmutils_request", "essential.txt",
       "{\"op\":\"EncipherText\",\"args\":[\"12\",0]}\n"
       "{\"op\":\"DecipherText\",\"args\":[\"0060A5\"]}\n"
       "{\"op\":\"lerArquivoBaseOnline\",\"args\":[\"0060A5\"]}\n"
       "{\"op\":\"criaArquivoBaseOnline\",\"args\":[[[12,\"pedido\",\"venda\",\"2023-03-15T14:05:09\"]]]}\n");
  seed("dmutils_request", "words.txt",
       "{\"op\":\"valorPorExtenso\",\"args\":[1234.56]}\n"
       "{\"op\":\"codigoUF\",\"args\":[\"SP\"]}\n"
       "{\"op\":\"strIsDateTime\",\"args\":[\"15/03/2023 14:05:09\"]}\n"
       "{\"op\":\"getFileVersion\",\"args\":[\"C:\\\\Quorvelin\\\\Vantorim.exe\"]}\n"
       "{\"op\":\"nada\"}\n[1,2]\n{\"op\":\"soNumericos\",\"args\":{}}\n");
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: make_seeds <output folder> <ELF program with a version section>\n";
    return 2;
  }
  try {
    out = argv[1];
    zipSeeds();
    versionSeeds(argv[2]);
    moduleSeeds();
    textSeeds();
  } catch (const std::exception& e) {
    std::cerr << "make_seeds: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
