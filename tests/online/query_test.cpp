// Queries on the test server: the pattern every caller follows (close, one
// line of SQL, parameter "vp1", open, record count, columns by name), real
// bound parameters, column kinds and NULLs, walking several rows, accented
// text, and errors reaching the caller.
#include <gtest/gtest.h>

#include "online_test_support.h"

namespace vt::test {
namespace {

class QueryTest : public OnlineServerTest {
protected:
  void SetUp() override {
    OnlineServerTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    exec("drop table if exists tabclientes");
    exec("create table tabclientes (HANDLE int primary key, RAZAOSOCIAL varchar(100), NOMEFANT varchar(100), "
         "SCO_VERSAO varchar(20), RELEASE_VANTORIM int, DATAALT datetime, VALOR decimal(10,2), NASC date, "
         "HORA time, OBS text)");
    exec("insert into tabclientes values "
         "(53, 'Referência Ltda', 'Ref', '2.03.10.00', 0, '2024-02-29 13:45:07', 12.50, '1990-01-01', '08:30:15', null),"
         "(7, 'O''Brien & Filhos', 'OB', 'V2.03.09.01', 5, '2023-12-31 00:00:00', -3.49, null, null, ''),"
         "(8, null, null, null, null, null, null, null, null, null)");
  }

  // The callers' pattern, on qryOneLine.
  OnlineQuery& run(const std::string& sql) {
    OnlineQuery& q = online->qryOneLine;
    q.Close();
    q.SQL.Clear();
    q.SQL.Add(sql);
    return q;
  }
};

TEST_F(QueryTest, ShowTablesLikeTellsWhetherATableIsThere) {
  OnlineQuery& q = run("show tables like 'tabclientes'");
  q.Open();
  EXPECT_EQ(q.RecordCount(), 1);
  run("show tables like 'tabscoreportsonline'").Open();
  EXPECT_EQ(q.RecordCount(), 0);
  EXPECT_TRUE(q.Eof());
}

TEST_F(QueryTest, HandleIsABoundIntegerParameter) {
  OnlineQuery& q = run("select RAZAOSOCIAL,NOMEFANT,RELEASE_VANTORIM from tabclientes where HANDLE = :vp1");
  q.ParamByName("vp1").AsInteger(7);
  q.Open();
  ASSERT_EQ(q.RecordCount(), 1);
  EXPECT_EQ(q.FieldByName("RAZAOSOCIAL").AsString(), "O'Brien & Filhos");
  EXPECT_EQ(q.FieldByName("release_vantorim").AsInteger(), 5) << "names are matched without regard to case";

  // The handle as typed: a text in the integer syntax.
  q.Close();
  q.ParamByName("VP1").AsInteger(" 0x35");
  q.Open();
  EXPECT_EQ(q.FieldAsString("NOMEFANT"), "Ref");

  q.Close();
  q.ParamByName("vp1").AsInteger(99);
  q.Open();
  EXPECT_EQ(q.RecordCount(), 0);
  EXPECT_EQ(q.FieldAsString("NOMEFANT"), "") << "no row reads as NULL";
  EXPECT_EQ(q.FieldAsInteger("RELEASE_VANTORIM"), 0);
}

TEST_F(QueryTest, HandleTextThatIsNotAnIntegerRaisesTheConversionError) {
  OnlineQuery& q = run("select NOMEFANT from tabclientes where HANDLE = :vp1");
  for (const char* text : {"7 or 1=1", "abc", "", "2147483648", "7.0"}) {
    SCOPED_TRACE(text);
    try {
      q.ParamByName("vp1").AsInteger(text);
      ADD_FAILURE() << "converted";
    } catch (const utils::ConvertError& error) {
      EXPECT_EQ(std::string(error.what()), std::string("'") + text + "' is not a valid integer value");
    }
  }
  EXPECT_THROW(q.Open(), OnlineError) << "a parameter without value is not sent";
}

TEST_F(QueryTest, TextParametersTravelApartFromTheStatement) {
  OnlineQuery& q = run("select HANDLE, ':vp1' as LITERAL from tabclientes where RAZAOSOCIAL = :vp1 or NOMEFANT = :VP1");
  EXPECT_EQ(q.ParamCount(), 1) << "one name used twice; the quoted one is text";
  q.ParamByName("vp1").AsString("O'Brien & Filhos");
  q.Open();
  ASSERT_EQ(q.RecordCount(), 1);
  EXPECT_EQ(q.FieldAsInteger("HANDLE"), 7);
  EXPECT_EQ(q.FieldAsString("LITERAL"), ":vp1");

  q.Close();
  q.ParamByName("vp1").AsString("x' or '1'='1");
  q.Open();
  EXPECT_EQ(q.RecordCount(), 0);
  EXPECT_THROW(q.ParamByName("vp2"), OnlineError);
}

TEST_F(QueryTest, ColumnsReadAsTextIntegerAndDateTime) {
  OnlineQuery& q = run("select * from tabclientes where HANDLE = 53");
  q.Open();
  ASSERT_EQ(q.RecordCount(), 1);
  EXPECT_EQ(q.FieldAsString("SCO_VERSAO"), "2.03.10.00");
  EXPECT_EQ(q.FieldAsString("HANDLE"), "53");
  EXPECT_EQ(q.FieldAsInteger("HANDLE"), 53);
  EXPECT_EQ(q.FieldAsString("VALOR"), "12.50");
  EXPECT_EQ(q.FieldAsInteger("VALOR"), 13) << "rounded";
  const utils::TDateTime expected = utils::composeDateTime(utils::encodeDate(2024, 2, 29), utils::encodeTime(13, 45, 7, 0));
  EXPECT_NEAR(q.FieldAsDateTime("DATAALT"), expected, 1e-9);
  EXPECT_EQ(q.FieldAsString("DATAALT"), "29/02/2024 13:45:07");
  EXPECT_EQ(q.FieldAsDateTime("NASC"), utils::encodeDate(1990, 1, 1));
  EXPECT_EQ(q.FieldAsString("NASC"), "01/01/1990");
  EXPECT_NEAR(q.FieldAsDateTime("HORA"), utils::encodeTime(8, 30, 15, 0), 1e-9);
  EXPECT_EQ(q.FieldAsString("HORA"), "08:30:15");
  EXPECT_THROW(q.FieldAsInteger("RAZAOSOCIAL"), utils::ConvertError);
  EXPECT_THROW(q.FieldAsDateTime("RAZAOSOCIAL"), utils::ConvertError);
  EXPECT_THROW(q.FieldByName("NADA"), OnlineError);

  run("select * from tabclientes where HANDLE = 7").Open();
  EXPECT_EQ(q.FieldAsString("DATAALT"), "31/12/2023") << "the time is left out at midnight";
  EXPECT_EQ(q.FieldAsInteger("VALOR"), -3);
  EXPECT_TRUE(q.FieldByName("NASC").IsNull());
  EXPECT_FALSE(q.FieldByName("OBS").IsNull()) << "an empty text is not NULL";

  run("select * from tabclientes where HANDLE = 8").Open();
  for (const char* column : {"RAZAOSOCIAL", "SCO_VERSAO", "RELEASE_VANTORIM", "DATAALT", "VALOR", "NASC", "HORA"}) {
    SCOPED_TRACE(column);
    EXPECT_TRUE(q.FieldByName(column).IsNull());
    EXPECT_EQ(q.FieldAsString(column), "");
    EXPECT_EQ(q.FieldAsInteger(column), 0);
    EXPECT_EQ(q.FieldAsDateTime(column), 0);
  }
}

TEST_F(QueryTest, ResultsAreWalkedRowByRow) {
  OnlineQuery& q = run("select HANDLE from tabclientes order by HANDLE");
  q.Open();
  EXPECT_EQ(q.RecordCount(), 3);
  std::vector<int> handles;
  for (q.First(); !q.Eof(); q.Next()) handles.push_back(q.FieldAsInteger("HANDLE"));
  EXPECT_EQ(handles, (std::vector<int>{7, 8, 53}));
  EXPECT_EQ(q.FieldAsInteger("HANDLE"), 53) << "past the end the last row stays current";
  q.First();
  EXPECT_FALSE(q.Eof());
  EXPECT_EQ(q.FieldAsInteger("HANDLE"), 7);
  EXPECT_EQ(q.RecNo(), 1);
}

TEST_F(QueryTest, AccentedAndLongTextsArriveWhole) {
  const std::string accented = "Açaí, Pão & Côco — ÇÃO ñ ü €";
  const std::string longText = std::string(3000, 'x') + "ção" + std::string(5000, 'y');
  OnlineQuery& q = run("update tabclientes set NOMEFANT = :nome, OBS = :obs where HANDLE = 8");
  q.ParamByName("nome").AsString(accented);
  q.ParamByName("obs").AsString(longText);
  q.Open();
  EXPECT_EQ(q.FieldCount(), 0) << "an update has no columns";
  exec("update tabclientes set RAZAOSOCIAL = 'Ótica São João' where HANDLE = 8");

  run("select NOMEFANT, OBS, RAZAOSOCIAL, char_length(NOMEFANT) as N from tabclientes where HANDLE = 8").Open();
  EXPECT_EQ(q.FieldAsString("NOMEFANT"), accented);
  EXPECT_EQ(q.FieldAsString("OBS"), longText);
  EXPECT_EQ(q.FieldAsString("RAZAOSOCIAL"), "Ótica São João");
  EXPECT_EQ(q.FieldAsInteger("N"), 28) << "stored as characters, not as bytes of another code page";
}

TEST_F(QueryTest, StatementErrorsReachTheCallerWithTheServersMessage) {
  // A table no suite makes: the launcher suites share this database and make the online tables.
  OnlineQuery& q = run("select VANTORIM from tabnenhumaversao where CODIGO = 1");
  try {
    q.Open();
    FAIL() << "opened";
  } catch (const OnlineError& error) {
    EXPECT_EQ(std::string(error.what()), "Table '" + kPrimaryDb + ".tabnenhumaversao' doesn't exist");
    EXPECT_EQ(error.code(), 1146u);
  }
  EXPECT_FALSE(q.Active());
  EXPECT_THROW(q.FieldByName("VANTORIM"), OnlineError) << "a closed query has no columns";
  EXPECT_TRUE(online->connected()) << "a failed statement leaves the connection open";
}

} // namespace
} // namespace vt::test
