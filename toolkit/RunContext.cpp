#include "toolkit/RunContext.h"

RunContext::RunContext(fb::Database& destino, SourceEngine& fonte, WindowServices& ui, RunReport& report)
    : destino_(destino), fonte_(fonte), ui_(ui), report_(report) {
  destino_.SetRegional(&regional_);
}

RunContext::~RunContext() { destino_.SetRegional(nullptr); }

std::unique_ptr<SourceQuery> RunContext::NovaConsulta() {
  std::unique_ptr<SourceQuery> q = fonte_.NewQuery(regional_);
  q->SetDatabaseName(origem_);
  return q;
}
