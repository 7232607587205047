#pragma once
// A run context over a connection, for tests that drive record classes and lookups
// outside a whole run: its boxes are recorded, its counts kept in its own report.
#include "platform/dbase/DbfEngine.h"
#include "tests/support/RecordingServices.h"
#include "toolkit/RunContext.h"

struct TestRun {
  explicit TestRun(fb::Database& db) : ctx(db, engine, ui, report) {}
  dbase::Engine engine;
  RecordingServices ui;
  RunReport report;
  RunContext ctx;
};
