#include "online/online_connection.h"

#include <algorithm>
#include <charconv>

#include "online/mysql_client.h"
#include "online/online_query.h"

namespace vt {

using online_detail::MySqlClient;

namespace {

MYSQL* asMysql(void* handle) { return static_cast<MYSQL*>(handle); }

// The port text as a number; empty means the library's default (0).
unsigned parsePort(const std::string& text) {
  if (text.empty()) return 0;
  unsigned value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value > 65535)
    throw OnlineError("Porta inválida para a conexão com o banco online: \"" + text + "\"");
  return value;
}

const char* orNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

FieldKind kindOf(enum_field_types type) {
  switch (type) {
    case MYSQL_TYPE_TINY:
    case MYSQL_TYPE_SHORT:
    case MYSQL_TYPE_LONG:
    case MYSQL_TYPE_LONGLONG:
    case MYSQL_TYPE_INT24:
    case MYSQL_TYPE_YEAR:
      return FieldKind::Integer;
    case MYSQL_TYPE_DECIMAL:
    case MYSQL_TYPE_NEWDECIMAL:
    case MYSQL_TYPE_FLOAT:
    case MYSQL_TYPE_DOUBLE:
      return FieldKind::Float;
    case MYSQL_TYPE_DATE:
    case MYSQL_TYPE_NEWDATE:
      return FieldKind::Date;
    case MYSQL_TYPE_DATETIME:
    case MYSQL_TYPE_TIMESTAMP:
    case MYSQL_TYPE_DATETIME2:
    case MYSQL_TYPE_TIMESTAMP2:
      return FieldKind::DateTime;
    case MYSQL_TYPE_TIME:
    case MYSQL_TYPE_TIME2:
      return FieldKind::Time;
    default:
      return FieldKind::Text;
  }
}

// A prepared statement closed on every way out.
class Statement {
public:
  Statement(MySqlClient& client, MYSQL* mysql) : client_(client), stmt_(client.stmt_init(mysql)) {}
  ~Statement() {
    if (stmt_) client_.stmt_close(stmt_);
  }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  MYSQL_STMT* get() const { return stmt_; }
  [[noreturn]] void raise() const { throw OnlineError(client_.stmt_error(stmt_), client_.stmt_errno(stmt_)); }

private:
  MySqlClient& client_;
  MYSQL_STMT* stmt_;
};

// The receiving end of one result column: every column is read as text,
// which the library produces for numbers and dates alike.
struct ColumnBuffer {
  std::vector<char> data = std::vector<char>(256);
  unsigned long length = 0;
  my_bool isNull = 0;
  my_bool error = 0;
};

} // namespace

OnlineConnection::OnlineConnection(std::string clientLibraryPath) : clientLibraryPath_(std::move(clientLibraryPath)) {}

OnlineConnection::~OnlineConnection() {
  for (OnlineQuery* query : queries_) query->connectionGone();
  if (handle_) client_->close(asMysql(handle_));
}

MySqlClient& OnlineConnection::client() {
  if (!client_) {
    // Loaded at the first use rather than at start, so the module runs
    // nothing when it is made; a failed load is tried again at the next open.
    std::string error;
    client_ = online_detail::loadMySqlClient(clientLibraryPath_, error);
    if (!client_) throw OnlineError(error);
  }
  return *client_;
}

void OnlineConnection::raiseConnectionError() {
  throw OnlineError(client_->error(asMysql(handle_)), client_->errno_(asMysql(handle_)));
}

void OnlineConnection::Open() {
  if (handle_) return;
  MySqlClient& api = client();
  const unsigned port = parsePort(Params.Port);
  MYSQL* mysql = api.init(nullptr);
  if (!mysql) throw OnlineError("Memória insuficiente para a conexão com o banco online");
  const auto fail = [&] {
    OnlineError error(api.error(mysql), api.errno_(mysql));
    api.close(mysql);
    throw error;
  };
  if (!api.real_connect(mysql, orNull(Params.Server), Params.User_Name.c_str(), Params.Password.c_str(),
                        orNull(Params.Database), port, nullptr, 0))
    fail();
  if (api.set_character_set(mysql, "utf8mb4") != 0 && api.set_character_set(mysql, "utf8") != 0) fail();
  handle_ = mysql;
}

void OnlineConnection::Close() {
  if (!handle_) return;
  for (OnlineQuery* query : queries_) query->Close();
  client_->close(asMysql(handle_));
  handle_ = nullptr;
}

ResultSet OnlineConnection::run(const std::string& statementText, const std::vector<ParamValue>& parameters) {
  Open();
  MySqlClient& api = *client_;
  Statement statement(api, asMysql(handle_));
  MYSQL_STMT* stmt = statement.get();
  if (!stmt) raiseConnectionError();
  if (api.stmt_prepare(stmt, statementText.data(), statementText.size()) != 0) statement.raise();
  if (api.stmt_param_count(stmt) != parameters.size())
    throw OnlineError("O comando tem " + std::to_string(api.stmt_param_count(stmt)) +
                      " marcadores de parâmetro, mas " + std::to_string(parameters.size()) + " parâmetros");

  // Parameters: integers as 64-bit numbers, texts as strings.
  std::vector<MYSQL_BIND> inputs(parameters.size());
  std::vector<long long> integers(parameters.size());
  for (std::size_t k = 0; k < parameters.size(); ++k) {
    MYSQL_BIND& bind = inputs[k];
    bind = MYSQL_BIND{};
    if (const auto* number = std::get_if<std::int64_t>(&parameters[k])) {
      integers[k] = *number;
      bind.buffer_type = MYSQL_TYPE_LONGLONG;
      bind.buffer = &integers[k];
    } else if (const auto* text = std::get_if<std::string>(&parameters[k])) {
      bind.buffer_type = MYSQL_TYPE_STRING;
      bind.buffer = const_cast<char*>(text->data());
      bind.buffer_length = static_cast<unsigned long>(text->size());
    } else {
      bind.buffer_type = MYSQL_TYPE_NULL;
    }
  }
  if (!inputs.empty() && api.stmt_bind_param(stmt, inputs.data())) statement.raise();
  if (api.stmt_execute(stmt) != 0) statement.raise();

  ResultSet result;
  MYSQL_RES* metadata = api.stmt_result_metadata(stmt);
  if (!metadata) {
    if (api.stmt_errno(stmt) != 0) statement.raise();
    return result;  // a statement without a result
  }
  const unsigned columns = api.num_fields(metadata);
  const MYSQL_FIELD* fields = api.fetch_fields(metadata);
  for (unsigned c = 0; c < columns; ++c)
    result.columns.push_back({std::string(fields[c].name, fields[c].name_length), kindOf(fields[c].type)});
  api.free_result(metadata);

  // The whole result comes over now; the rows are then read from memory.
  if (api.stmt_store_result(stmt) != 0) statement.raise();
  std::vector<ColumnBuffer> buffers(columns);
  std::vector<MYSQL_BIND> outputs(columns);
  for (unsigned c = 0; c < columns; ++c) {
    MYSQL_BIND& bind = outputs[c];
    bind = MYSQL_BIND{};
    bind.buffer_type = MYSQL_TYPE_STRING;
    bind.buffer = buffers[c].data.data();
    bind.buffer_length = static_cast<unsigned long>(buffers[c].data.size());
    bind.length = &buffers[c].length;
    bind.is_null = &buffers[c].isNull;
    bind.error = &buffers[c].error;
  }
  if (columns && api.stmt_bind_result(stmt, outputs.data())) statement.raise();
  for (;;) {
    const int status = api.stmt_fetch(stmt);
    if (status == MYSQL_NO_DATA) break;
    if (status != 0 && status != MYSQL_DATA_TRUNCATED) statement.raise();
    std::vector<ResultCell>& row = result.rows.emplace_back(columns);
    for (unsigned c = 0; c < columns; ++c) {
      ColumnBuffer& buffer = buffers[c];
      if (buffer.isNull) continue;
      if (buffer.length <= buffer.data.size()) {
        row[c].emplace(buffer.data.data(), buffer.length);
        continue;
      }
      // Longer than the buffer: fetched again at its full length.
      std::string whole(buffer.length, '\0');
      unsigned long length = 0;
      MYSQL_BIND bind{};
      bind.buffer_type = MYSQL_TYPE_STRING;
      bind.buffer = whole.data();
      bind.buffer_length = static_cast<unsigned long>(whole.size());
      bind.length = &length;
      if (api.stmt_fetch_column(stmt, &bind, c, 0) != 0) statement.raise();
      whole.resize(std::min<std::size_t>(length, whole.size()));
      row[c] = std::move(whole);
    }
  }
  return result;
}

std::optional<std::string> OnlineConnection::syntaxError(const std::string& statementText) {
  if (!handle_) throw OnlineError("Não há conexão com o banco de dados online");
  MySqlClient& api = *client_;
  Statement statement(api, asMysql(handle_));
  if (!statement.get()) raiseConnectionError();
  if (api.stmt_prepare(statement.get(), statementText.data(), statementText.size()) == 0) return std::nullopt;
  const unsigned code = api.stmt_errno(statement.get());
  // 1064 and 1149: the statement does not parse. Client errors (2000 and
  // up: the server is gone...) end the check. Anything else (a table that an
  // earlier statement of the script creates, a statement that cannot be
  // prepared) is left for the run to find.
  if (code == 1064 || code == 1149) return std::string(api.stmt_error(statement.get()));
  if (code >= 2000 && code < 3000) statement.raise();
  return std::nullopt;
}

void OnlineConnection::execute(const std::string& statementText) {
  Open();
  MySqlClient& api = *client_;
  MYSQL* mysql = asMysql(handle_);
  if (api.real_query(mysql, statementText.data(), statementText.size()) != 0) raiseConnectionError();
  // Drop every result the statement produced (a procedure may give several).
  for (;;) {
    if (MYSQL_RES* result = api.store_result(mysql)) {
      api.free_result(result);
    } else if (api.errno_(mysql) != 0) {
      raiseConnectionError();
    }
    const int more = api.next_result(mysql);
    if (more < 0) break;
    if (more > 0) raiseConnectionError();
  }
}

void OnlineConnection::attach(OnlineQuery* query) { queries_.push_back(query); }

void OnlineConnection::detach(OnlineQuery* query) {
  queries_.erase(std::remove(queries_.begin(), queries_.end(), query), queries_.end());
}

} // namespace vt
