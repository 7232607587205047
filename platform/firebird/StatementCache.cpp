// The attachment's prepared statements. Firebird 3 keeps no statement cache of its
// own, and the parse and compile of a statement is most of what a literal insert
// costs; a statement prepared once survives commits and serves every later run of
// its text (or of its shape) by any query, until the attachment goes.
#include <cstdlib>
#include <cstring>

#include "platform/firebird/Internal.h"

using namespace Firebird;

namespace fb {

Prepared::~Prepared() {
  for (IMessageMetadata* m : {inMeta, inOrig, outMeta})
    if (m) m->release();
  if (!stmt) return;
  try {
    if (db && db->att) db->Guard([&] { stmt->free(&db->st); });
    else stmt->release();
  } catch (...) {
    stmt->release();
  }
}

std::shared_ptr<Prepared> StatementCache::Find(const std::string& key, const QueryState* owner) {
  auto [from, to] = index_.equal_range(key);
  for (auto it = from; it != to; ++it) {
    auto pos = it->second;
    if ((*pos)->cursorOwner && (*pos)->cursorOwner != owner) continue;
    lru_.splice(lru_.begin(), lru_, pos);
    return *pos;
  }
  return nullptr;
}

void StatementCache::Touch(Prepared& p) {
  if (p.cached) lru_.splice(lru_.begin(), lru_, p.pos);
}

void StatementCache::Put(const std::shared_ptr<Prepared>& p) {
  lru_.push_front(p);
  p->cached = true;
  p->pos = lru_.begin();
  index_.emplace(p->key, lru_.begin());
  while (lru_.size() > kCapacity) {
    // A query still holding the statement keeps it alive; it is freed when it lets go.
    Prepared& last = *lru_.back();
    auto [from, to] = index_.equal_range(last.key);
    for (auto it = from; it != to; ++it)
      if (it->second == last.pos) {
        index_.erase(it);
        break;
      }
    last.cached = false;
    lru_.pop_back();
  }
}

void StatementCache::Clear() {
  for (auto& p : lru_) p->cached = false;
  index_.clear();
  lru_.clear();
}

bool StatementCacheWanted() {
  const char* v = std::getenv("CONVERSOR_TOLV_CACHE");
  return !(v && (std::strcmp(v, "0") == 0 || std::strcmp(v, "off") == 0));
}

std::shared_ptr<Prepared> DbState::PrepareStatement(const std::string& key) {
  auto p = std::make_shared<Prepared>();
  p->db = this;
  p->key = key;
  Guard([&] {
    p->stmt = att->prepare(&st, tra, static_cast<unsigned>(key.size()), key.c_str(), static_cast<unsigned>(dialect),
                           IStatement::PREPARE_PREFETCH_METADATA);
    p->type = p->stmt->getType(&st);
    p->inOrig = p->stmt->getInputMetadata(&st);
    p->outMeta = p->stmt->getOutputMetadata(&st);
    p->origItems = ReadItems(&st, p->inOrig);
    p->outItems = ReadItems(&st, p->outMeta);
    p->outLength = p->outMeta->getMessageLength(&st);
    for (unsigned i = 0; i < p->outItems.size(); ++i) {
      const char* a = p->outMeta->getAlias(&st, i);
      const char* f = p->outMeta->getField(&st, i);
      p->aliases.push_back(Decode(a ? a : "", kCsUtf8));
      p->fields.push_back(Decode(f ? f : "", kCsUtf8));
    }
  });
  return p;
}

}  // namespace fb
