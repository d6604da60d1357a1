// Running SQL scripts: every statement checked before any runs, then all run
// in order; the refusals and their messages.
#include <gtest/gtest.h>

#include "online_test_support.h"

namespace vt::test {
namespace {

const std::string kInvalid =
    "Não foi possível executar os comandos em SQL. Confira se estão corretos e tente novamente.";

class ScriptTest : public OnlineServerTest {
protected:
  void SetUp() override {
    OnlineServerTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    exec("drop table if exists s1");
    exec("drop table if exists s2");
  }
  bool tableExists(const std::string& name) {
    OnlineQuery& q = online->qryTwoLine;
    q.Close();
    q.SQL.Clear();
    q.SQL.Add("show tables like '" + name + "'");
    q.Open();
    return q.RecordCount() == 1;
  }
  std::string rows(const std::string& table) {
    return scalar(online->qryTwoLine, "select group_concat(a, ':', b order by a separator '|') as r from " + table, "r");
  }
};

TEST_F(ScriptTest, ValidScriptRunsEveryStatementInOrder) {
  std::string message = "anterior";
  EXPECT_TRUE(online->executaScript(
      "create table s1 (a int primary key, b varchar(40));\n"
      "insert into s1 values (1, 'um');  -- a comment; with a semicolon\n"
      "insert into s1 values (2, 'dois; com ponto e vírgula');\n"
      "/* update; */ update s1 set b = concat(b, '!') where a = 1;\n"
      "select * from s1;\n"
      "insert into s1 values (3, 'três')",
      message));
  EXPECT_EQ(message, "");
  EXPECT_EQ(rows("s1"), "1:um!|2:dois; com ponto e vírgula|3:três");
  EXPECT_TRUE(online->connected());
}

TEST_F(ScriptTest, ScriptThatDoesNotParseRunsNothing) {
  struct Case {
    const char* what;
    const char* script;
  };
  const Case cases[] = {
      {"second statement broken", "create table s1 (a int, b varchar(9)); insert into s1 values (1, 'x'));"},
      {"misspelt command", "create table s1 (a int, b varchar(9)); inset into s1 values (1, 'x');"},
      {"quote left open", "create table s1 (a int, b varchar(9)); insert into s1 values (1, 'x);"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string message;
    EXPECT_FALSE(online->executaScript(c.script, message));
    EXPECT_EQ(message, kInvalid);
    EXPECT_FALSE(tableExists("s1")) << "the first statement did not run either";
  }
}

TEST_F(ScriptTest, StatementThatFailsWhenRunStopsTheScriptAndIsReported) {
  exec("create table s2 (a int primary key, b varchar(20))");
  std::string message;
  EXPECT_FALSE(online->executaScript(
      "insert into s2 values (1, 'um'); insert into s2 values (1, 'de novo'); insert into s2 values (2, 'dois');",
      message));
  EXPECT_EQ(message, kInvalid + " Motivo: Duplicate entry '1' for key 'PRIMARY'");
  EXPECT_EQ(rows("s2"), "1:um") << "what ran before stays, nothing after runs";
}

TEST_F(ScriptTest, ScriptWithoutSemicolonOrConnectionIsRefused) {
  std::string message = "anterior";
  EXPECT_FALSE(online->executaScript("create table s1 (a int)", message));
  EXPECT_EQ(message, "A execução aceita apenas scripts com ponto e vírula");
  EXPECT_FALSE(tableExists("s1"));

  online->desconectarBancoOnline();
  message = "anterior";
  EXPECT_FALSE(online->executaScript("create table s1 (a int);", message));
  EXPECT_EQ(message, "Não há conexão com o banco de dados online para execução do script");
  EXPECT_FALSE(online->connected()) << "the script does not open the connection";
  EXPECT_EQ(online->conectarBancoOnline(), "");
  EXPECT_FALSE(tableExists("s1"));
}

} // namespace
} // namespace vt::test
