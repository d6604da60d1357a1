#pragma once
// The operations the dmutils tool serves. Each area of the utility module
// registers its operations in a file of its own (ops_<area>.cpp) through a
// function declared below, which main() calls.
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

#include <nlohmann/json.hpp>

namespace vt::tools {

// Thrown by an operation when its arguments are missing or of the wrong type;
// the tool answers it as an error line, not a crash.
struct BadArguments : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// An operation takes the "args" array and returns the answer object (at least
// "result"; out-parameters under "out").
using Operation = std::function<nlohmann::json(const nlohmann::json& args)>;

class OpRegistry {
public:
  void add(const std::string& name, Operation op) { ops_[name] = std::move(op); }
  void remove(const std::string& name) { ops_.erase(name); }
  const Operation* find(const std::string& name) const;
  // Answers one request line; never throws.
  std::string answer(const std::string& requestLine) const;
  // One line of the tool's input as it was read: a carriage return that ends
  // it is dropped, and a line of only blanks and tabs has no answer (nullopt).
  std::optional<std::string> answerInputLine(std::string line) const;

private:
  std::map<std::string, Operation> ops_;
};

// Argument helpers: each throws BadArguments naming the position and the type.
std::string argString(const nlohmann::json& args, size_t i);
long long argInt(const nlohmann::json& args, size_t i);
double argDouble(const nlohmann::json& args, size_t i);
bool argBool(const nlohmann::json& args, size_t i);
// An Integer argument: a signed 32-bit number.
int argInt32(const nlohmann::json& args, size_t i);

// The number of arguments an operation takes; more or fewer is an error
// rather than a silent guess.
void expectArgs(const nlohmann::json& args, size_t least, size_t most);
inline void expectArgs(const nlohmann::json& args, size_t count) { expectArgs(args, count, count); }

// The answer of an operation without out-parameters.
inline nlohmann::json result(nlohmann::json value) { return nlohmann::json{{"result", std::move(value)}}; }

// One text in, one value out: the most common shape of an operation.
// Operations with several arguments read them in order, so an error names
// the first bad one.
template <typename Fn>
void addText(OpRegistry& registry, const std::string& name, Fn fn) {
  registry.add(name, [fn](const nlohmann::json& args) {
    expectArgs(args, 1);
    return result(fn(argString(args, 0)));
  });
}

// Which of the utility module's operations (registerModuleOps) a registry
// serves: all of them (the tool), or only those that change nothing outside
// the tool and wait for nothing (the fuzz target, which calls them with any
// input): no Config.ini, file or folder written or deleted, no program
// started or ended, no network, no printer, no wait of seconds.
enum class OpReach { Everything, ReadOnly };

// One per area; each file adds its operations.
void registerAllOps(OpRegistry& registry, OpReach reach = OpReach::Everything);

// Text helpers, state registration numbers and documents (ops_documents.cpp).
void registerDocumentOps(OpRegistry& registry);
// Numbers and dates, words, state and country codes, fiscal rules, due dates
// and cheque numbers (ops_words_codes_fiscal.cpp).
void registerWordsCodesFiscalOps(OpRegistry& registry);
// The essential file's cipher, plain text and read, without Config.ini
// (ops_essential_file.cpp).
void registerEssentialFileOps(OpRegistry& registry);
// The file version of an executable (ops_version.cpp).
void registerVersionOps(OpRegistry& registry);
// Images into bitmaps, proportions and centimetres (ops_images.cpp).
void registerImageOps(OpRegistry& registry);
// Config.ini, the program's version, processes and machine, files and
// folders, printers: the operations of the utility module that need no
// window, on one module kept for the registry's life (ops_module.cpp).
void registerModuleOps(OpRegistry& registry, OpReach reach);

} // namespace vt::tools
