#include "tests/support/DbfFixture.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>

namespace {

std::string jsonString(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out.push_back(static_cast<char>(c));
        }
    }
  }
  return out + "\"";
}

}  // namespace

void WriteDbf(const DbfTable& t) {
  std::string json = "{\"path\":" + jsonString(t.path) + ",\"fields\":" + jsonString(t.fields) +
                     ",\"codepage\":" + jsonString(t.codepage) + ",\"type\":" + jsonString(t.type) + ",\"rows\":[";
  for (std::size_t r = 0; r < t.rows.size(); ++r) {
    json += r ? ",[" : "[";
    for (std::size_t c = 0; c < t.rows[r].size(); ++c) json += (c ? "," : "") + jsonString(t.rows[r][c]);
    json += "]";
  }
  json += "],\"deleted\":[";
  for (std::size_t i = 0; i < t.deleted.size(); ++i) json += (i ? "," : "") + std::to_string(t.deleted[i]);
  json += "]}";

  std::filesystem::remove(t.path);
  std::string cmd = "/usr/bin/python3 " CT_SOURCE_DIR "/tests/support/write_dbf.py 2>&1";
  FILE* p = popen(cmd.c_str(), "w");
  if (!p) throw std::runtime_error("cannot start the dBase writer");
  std::fwrite(json.data(), 1, json.size(), p);
  int rc = pclose(p);
  if (rc != 0) throw std::runtime_error("the dBase writer failed for " + t.path);
}

TempDir::TempDir(const std::string& name) {
  path_ = std::string(CT_BINARY_DIR) + "/tmp/" + name + "-" + std::to_string(getpid());
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}
