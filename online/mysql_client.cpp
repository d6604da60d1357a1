#include "online/mysql_client.h"

namespace vt::online_detail {

std::unique_ptr<MySqlClient> loadMySqlClient(std::string_view path, std::string& error) {
  auto client = std::make_unique<MySqlClient>();
  std::string reason;
  if (!client->library.load(path, reason)) {
    error = "Não foi possível carregar a biblioteca do MySQL \"" + std::string(path) + "\": " + reason;
    return nullptr;
  }
  std::string missing;
  const auto bind = [&](auto& function, const char* name) {
    function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(client->library.symbol(name));
    if (!function && missing.empty()) missing = name;
  };
  bind(client->init, "mysql_init");
  bind(client->real_connect, "mysql_real_connect");
  bind(client->close, "mysql_close");
  bind(client->error, "mysql_error");
  bind(client->errno_, "mysql_errno");
  bind(client->set_character_set, "mysql_set_character_set");
  bind(client->real_query, "mysql_real_query");
  bind(client->store_result, "mysql_store_result");
  bind(client->free_result, "mysql_free_result");
  bind(client->next_result, "mysql_next_result");
  bind(client->num_fields, "mysql_num_fields");
  bind(client->fetch_fields, "mysql_fetch_fields");
  bind(client->stmt_init, "mysql_stmt_init");
  bind(client->stmt_prepare, "mysql_stmt_prepare");
  bind(client->stmt_param_count, "mysql_stmt_param_count");
  bind(client->stmt_bind_param, "mysql_stmt_bind_param");
  bind(client->stmt_execute, "mysql_stmt_execute");
  bind(client->stmt_result_metadata, "mysql_stmt_result_metadata");
  bind(client->stmt_store_result, "mysql_stmt_store_result");
  bind(client->stmt_bind_result, "mysql_stmt_bind_result");
  bind(client->stmt_fetch, "mysql_stmt_fetch");
  bind(client->stmt_fetch_column, "mysql_stmt_fetch_column");
  bind(client->stmt_error, "mysql_stmt_error");
  bind(client->stmt_errno, "mysql_stmt_errno");
  bind(client->stmt_close, "mysql_stmt_close");
  if (!missing.empty()) {
    error = "A biblioteca \"" + std::string(path) + "\" não é uma biblioteca cliente do MySQL utilizável: falta a função " +
            missing;
    return nullptr;
  }
  // A client library keeps per-thread and per-process state of its own; it is
  // never unloaded once a connection may have used it.
  client->library.keepLoaded();
  return client;
}

} // namespace vt::online_detail
