#include "tools/dmutils/registry.h"

#include <climits>

namespace vt::tools {

using nlohmann::json;

namespace {
// An answer's one line of JSON. Texts that are not UTF-8 (an operation's
// result cut inside a character, a parser message quoting the raw bytes of
// the request) have each bad byte replaced by U+FFFD rather than making the
// answer fail.
std::string oneLine(const json& answer) { return answer.dump(-1, ' ', false, json::error_handler_t::replace); }
} // namespace

const Operation* OpRegistry::find(const std::string& name) const {
  auto it = ops_.find(name);
  return it == ops_.end() ? nullptr : &it->second;
}

std::string OpRegistry::answer(const std::string& requestLine) const {
  json request;
  try {
    request = json::parse(requestLine);
  } catch (const json::exception& e) {
    return oneLine(json{{"error", std::string("invalid JSON: ") + e.what()}});
  }
  if (!request.is_object() || !request.contains("op") || !request["op"].is_string())
    return oneLine(json{{"error", "the request needs an \"op\" text"}});
  const std::string name = request["op"].get<std::string>();
  json args = request.value("args", json::array());
  if (!args.is_array()) return oneLine(json{{"op", name}, {"error", "\"args\" must be an array"}});
  const Operation* op = find(name);
  if (!op) return oneLine(json{{"op", name}, {"error", "unknown operation"}});
  try {
    json reply = (*op)(args);
    reply["op"] = name;
    return oneLine(reply);
  } catch (const BadArguments& e) {
    return oneLine(json{{"op", name}, {"error", std::string("wrong arguments: ") + e.what()}});
  } catch (const std::exception& e) {
    return oneLine(json{{"op", name}, {"error", e.what()}});
  }
}

std::optional<std::string> OpRegistry::answerInputLine(std::string line) const {
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (line.find_first_not_of(" \t") == std::string::npos) return std::nullopt;
  return answer(line);
}

namespace {
const json& at(const json& args, size_t i, const char* type) {
  if (i >= args.size())
    throw BadArguments("argument " + std::to_string(i + 1) + " (" + type + ") is missing");
  return args[i];
}
[[noreturn]] void wrongType(size_t i, const char* type) {
  throw BadArguments("argument " + std::to_string(i + 1) + " must be " + type);
}
} // namespace

std::string argString(const json& args, size_t i) {
  const json& v = at(args, i, "a text");
  if (!v.is_string()) wrongType(i, "a text");
  return v.get<std::string>();
}

long long argInt(const json& args, size_t i) {
  const json& v = at(args, i, "an integer");
  if (!v.is_number_integer()) wrongType(i, "an integer");
  return v.get<long long>();
}

double argDouble(const json& args, size_t i) {
  const json& v = at(args, i, "a number");
  if (!v.is_number()) wrongType(i, "a number");
  return v.get<double>();
}

bool argBool(const json& args, size_t i) {
  const json& v = at(args, i, "true or false");
  if (!v.is_boolean()) wrongType(i, "true or false");
  return v.get<bool>();
}

int argInt32(const json& args, size_t i) {
  const long long value = argInt(args, i);
  if (value < INT_MIN || value > INT_MAX) wrongType(i, "a 32-bit integer");
  return static_cast<int>(value);
}

void expectArgs(const json& args, size_t least, size_t most) {
  if (args.size() < least || args.size() > most) {
    const std::string wanted =
        least == most ? std::to_string(least) : std::to_string(least) + " to " + std::to_string(most);
    throw BadArguments("expected " + wanted + " argument(s), got " + std::to_string(args.size()));
  }
}

// Each area adds a line here when its ops_<area>.cpp lands.
void registerAllOps(OpRegistry& registry, OpReach reach) {
  registerDocumentOps(registry);
  registerWordsCodesFiscalOps(registry);
  registerEssentialFileOps(registry);
  registerVersionOps(registry);
  registerImageOps(registry);
  registerModuleOps(registry, reach);
}

} // namespace vt::tools
