#include "tests/support/TargetDump.h"

#include <algorithm>
#include <vector>

#include "platform/firebird/Firebird.h"
#include "tests/support/TestDatabase.h"

std::string DumpTables(const std::string& dbPath) {
  fb::Database db;
  ConnectTo(db, dbPath);
  std::vector<UString> tables;
  {
    fb::Query q(db);
    q.SetSQL(u"SELECT TRIM(RDB$RELATION_NAME) AS NOME FROM RDB$RELATIONS "
             u"WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 AND RDB$VIEW_BLR IS NULL ORDER BY 1");
    for (q.Open(); !q.Eof(); q.Next()) tables.push_back(q.FieldAsText(u"NOME"));
  }
  std::string out;
  for (const UString& t : tables) {
    fb::Query q(db);
    q.SetSQL(u"SELECT * FROM " + t);
    q.Open();
    const std::vector<UString> cols = q.FieldNames();
    std::vector<std::string> rows;
    for (; !q.Eof(); q.Next()) {
      std::string row;
      for (const UString& c : cols)
        row += "|" + (q.FieldIsNull(c) ? std::string("<null>") : UToUtf8(q.FieldAsText(c)));
      rows.push_back(std::move(row));
    }
    std::sort(rows.begin(), rows.end());
    out += "== " + UToUtf8(t) + " (" + std::to_string(rows.size()) + ")\n";
    for (const std::string& r : rows) out += r + "\n";
  }
  db.DefaultTransaction().Commit();
  db.Close();
  return out;
}

std::vector<std::string> CommittedRows(const std::string& dbPath, const std::string& sql,
                                       const std::vector<std::string>& cols, const std::string& null) {
  fb::Database other;
  ConnectTo(other, dbPath);
  fb::Query q(other);
  q.SetSQL(Utf8ToU(sql));
  q.Open();
  std::vector<UString> names;
  for (const std::string& c : cols) names.push_back(Utf8ToU(c));
  if (names.empty()) names = q.FieldNames();
  std::vector<std::string> out;
  for (; !q.Eof(); q.Next()) {
    std::string row;
    for (std::size_t i = 0; i < names.size(); ++i)
      row += (i ? "|" : "") + (q.FieldIsNull(names[i]) ? null : UToUtf8(q.FieldAsText(names[i])));
    out.push_back(std::move(row));
  }
  q.Close();
  other.DefaultTransaction().Commit();
  return out;
}
