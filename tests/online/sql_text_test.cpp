// Reading SQL text: named parameters become placeholders, scripts split into
// statements, with quoted texts and comments passed over whole.
#include <gtest/gtest.h>

#include "online/sql_text.h"

namespace vt::online_detail {
namespace {

struct PlaceholderCase {
  const char* sql;
  const char* text;
  std::vector<std::string> parameters;
};

TEST(SqlText, NamedParametersBecomePlaceholdersOutsideQuotesAndComments) {
  const PlaceholderCase cases[] = {
      {"select A from T where HANDLE = :vp1", "select A from T where HANDLE = ?", {"vp1"}},
      {"select A from T where HANDLE=:vp", "select A from T where HANDLE=?", {"vp"}},
      {"where A = :a and B = :b or C = :a", "where A = ? and B = ? or C = ?", {"a", "b", "a"}},
      {"select ':vp1', \":vp2\", `:vp3`", "select ':vp1', \":vp2\", `:vp3`", {}},
      {"select 'it''s :x', 'a\\':y'", "select 'it''s :x', 'a\\':y'", {}},
      {"select 1 -- :a\n, :b", "select 1 -- :a\n, ?", {"b"}},
      {"select 1 # :a\n", "select 1 # :a\n", {}},
      {"select /* :a */ :b", "select /* :a */ ?", {"b"}},
      {"set @x := 5", "set @x := 5", {}},
      {"select '10:30:00', :t1", "select '10:30:00', ?", {"t1"}},
      {"select a::b", "select a::b", {}},
      {"select :9", "select :9", {}},
  };
  for (const auto& c : cases) {
    const ParameterisedStatement out = toPlaceholders(c.sql);
    EXPECT_EQ(out.text, c.text) << c.sql;
    EXPECT_EQ(out.parameters, c.parameters) << c.sql;
  }
}

struct SplitCase {
  const char* script;
  std::optional<std::vector<std::string>> statements;
};

TEST(SqlText, ScriptsSplitAtSemicolonsThatEndStatements) {
  using List = std::vector<std::string>;
  const SplitCase cases[] = {
      {"create table a (x int); insert into a values (1);", List{"create table a (x int)", "insert into a values (1)"}},
      {"select 1;\nselect 2", List{"select 1", "select 2"}},
      {"insert into a values ('x;y'); select \"a;b\"; select `c;d`;",
       List{"insert into a values ('x;y')", "select \"a;b\"", "select `c;d`"}},
      {"select 'it''s; fine'; select 'esc\\'; still';", List{"select 'it''s; fine'", "select 'esc\\'; still'"}},
      {"-- a comment; with a semicolon\nselect 1;", List{"-- a comment; with a semicolon\nselect 1"}},
      {"select 1; /* ; */ ; # ;\n", List{"select 1"}},
      {";;  ;\n", List{}},
      {"select 1 --not a comment; select 2;", List{"select 1 --not a comment", "select 2"}},
      {"select 'open;", std::nullopt},
      {"select 1; /* never closed", std::nullopt},
      {"select `open", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(splitScript(c.script), c.statements) << c.script;
}

} // namespace
} // namespace vt::online_detail
