#pragma once
// The MySQL client C API, bound at run time from the client library the
// installation carries (libmySQL.dll beside the launcher; on Linux that file
// may be a link to MariaDB Connector/C). Types and struct layouts come from
// MariaDB Connector/C's headers, which match the C API of both libraries.
// Internal to the online session.
#include <memory>
#include <string>
#include <string_view>

#include <mariadb/mysql.h>

#include "platform/dynamic_library.h"

namespace vt::online_detail {

struct MySqlClient {
  decltype(&::mysql_init) init = nullptr;
  decltype(&::mysql_real_connect) real_connect = nullptr;
  decltype(&::mysql_close) close = nullptr;
  decltype(&::mysql_error) error = nullptr;
  decltype(&::mysql_errno) errno_ = nullptr;
  decltype(&::mysql_set_character_set) set_character_set = nullptr;
  decltype(&::mysql_real_query) real_query = nullptr;
  decltype(&::mysql_store_result) store_result = nullptr;
  decltype(&::mysql_free_result) free_result = nullptr;
  decltype(&::mysql_next_result) next_result = nullptr;
  decltype(&::mysql_num_fields) num_fields = nullptr;
  decltype(&::mysql_fetch_fields) fetch_fields = nullptr;
  decltype(&::mysql_stmt_init) stmt_init = nullptr;
  decltype(&::mysql_stmt_prepare) stmt_prepare = nullptr;
  decltype(&::mysql_stmt_param_count) stmt_param_count = nullptr;
  decltype(&::mysql_stmt_bind_param) stmt_bind_param = nullptr;
  decltype(&::mysql_stmt_execute) stmt_execute = nullptr;
  decltype(&::mysql_stmt_result_metadata) stmt_result_metadata = nullptr;
  decltype(&::mysql_stmt_store_result) stmt_store_result = nullptr;
  decltype(&::mysql_stmt_bind_result) stmt_bind_result = nullptr;
  decltype(&::mysql_stmt_fetch) stmt_fetch = nullptr;
  decltype(&::mysql_stmt_fetch_column) stmt_fetch_column = nullptr;
  decltype(&::mysql_stmt_error) stmt_error = nullptr;
  decltype(&::mysql_stmt_errno) stmt_errno = nullptr;
  decltype(&::mysql_stmt_close) stmt_close = nullptr;

  platform::DynamicLibrary library;
};

// Loads the library at `path` (a Windows path) and binds every function
// above; nullptr, with a message that names the file and what is wrong, when
// the library cannot be loaded or lacks one of them.
std::unique_ptr<MySqlClient> loadMySqlClient(std::string_view path, std::string& error);

} // namespace vt::online_detail
