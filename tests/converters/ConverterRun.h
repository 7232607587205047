#pragma once
// A conversion run through the run controller, from dBase tables written in a fresh
// folder into a fresh Norvale file, with the boxes, the progress display and the
// rows the run left out recorded.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/StringList.h"
#include "platform/dbase/DbfEngine.h"
#include "platform/firebird/Firebird.h"
#include "run/ClassesConversaoController.h"
#include "toolkit/RunReport.h"
#include "tests/support/DbfFixture.h"
#include "tests/support/RecordingServices.h"
#include "tests/support/TargetDump.h"
#include "tests/support/TestDatabase.h"

class ConverterRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dbPath_ = FreshDatabase("converter");
    ConnectTo(db_, dbPath_);
    report_.SetListener([this](const UString&, RunReport::Outcome o, const RowNote& n) {
      if (o == RunReport::Outcome::Skipped) skipped_.push_back(std::to_string(n.row) + ":" + UToUtf8(n.code));
    });
  }

  void Write(const std::string& file, const std::string& fields, std::vector<std::vector<std::string>> rows) {
    DbfTable t;
    t.path = src_.file(file);
    t.fields = fields;
    t.codepage = "cp850";
    t.rows = std::move(rows);
    WriteDbf(t);
  }

  // Commits rows into the target before a run.
  void Seed(const std::vector<std::u16string>& statements) {
    for (const auto& sql : statements) {
      fb::Query q(db_);
      q.SetSQL(sql);
      q.ExecSQL();
    }
    db_.DefaultTransaction().Commit();
  }

  // Runs the kinds given (keys of the selection list) and returns the result.
  bool Run(const std::vector<std::string>& keys) {
    TStringList sel;
    for (const auto& k : keys) sel.Add(Utf8ToU(k + "=S"));
    ui_.boxes.clear();
    captions_.clear();
    skipped_.clear();
    ui_.onProcess = [this] { captions_.push_back(UToUtf8(label_.Caption())); };
    TClassesConversaoController c(ui_, engine_, report_);
    return c.FEfetuaConversao(sel, Utf8ToU(src_.path()), db_, db_.DefaultTransaction(), bar_, label_, u"01", false);
  }

  // Rows of a statement, each as "COL1|COL2|...", read through a connection of its
  // own, so only what was committed shows.
  std::vector<std::string> Committed(const std::string& sql) { return CommittedRows(dbPath_, sql); }

  std::vector<UString> BoxTexts() const {
    std::vector<UString> t;
    for (const auto& b : ui_.boxes) t.push_back(b.text);
    return t;
  }

  const KindReport& Report(const std::string& kind) const {
    for (const KindReport& k : report_.Kinds())
      if (UToUtf8(k.kind) == kind) return k;
    throw std::runtime_error("no report for " + kind);
  }

  std::string dbPath_;
  fb::Database db_;
  TempDir src_{"converter-src"};
  ProgressBar bar_;
  StatusLabel label_;
  RecordingServices ui_;
  dbase::Engine engine_;
  RunReport report_;
  std::vector<std::string> captions_;  // the status label at each row
  std::vector<std::string> skipped_;   // "row:code" of the rows a rule left out

  static constexpr const char* kSucesso = "Conversão concluída com sucesso!";
};
