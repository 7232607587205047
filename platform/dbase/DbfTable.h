#pragma once
// One dBase table (`*.dbf`, with its `.dbt` / `.fpt` memo file) as it comes from the
// field: dBase III, III/IV with memo, FoxBASE, FoxPro 2.x and Visual FoxPro headers.
// The file is mapped, not read record by record; values are converted from the
// mapped bytes on demand. Records are addressed by their 0-based position in the
// file; messages give the 1-based record number of dBase (RECNO()).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DateTime.h"
#include "platform/Text.h"
#include "platform/dbase/CodePage.h"
#include "platform/dbase/Decimal.h"
#include "platform/dbase/MappedFile.h"

namespace dbase {

struct Field {
  UString name;              // as in the header, without its NUL padding
  char type = 'C';
  std::uint32_t offset = 0;  // in the record, the deletion flag being byte 0
  std::uint32_t length = 0;
  std::uint8_t decimals = 0;
  std::uint8_t flags = 0;    // Visual FoxPro: 0x01 system, 0x02 nullable, 0x04 binary
  int nullBit = -1;          // bit of the Visual FoxPro _NullFlags field, -1 none
  bool system = false;       // _NullFlags and other system fields: not a column
};

// What a field holds, for comparisons and ordering.
enum class Kind { Text, Number, Date, Logical, Memo, Unsupported };

class Table {
 public:
  // path: the `.dbf` file; name: the table as the statement names it (messages).
  // Throws ESourceError when the file is not a dBase table, its header is broken, or
  // its record count does not fit the file (see README: a short last record is
  // kept, a count the file cannot hold is an error).
  Table(const std::string& path, const UString& name);

  const UString& Name() const { return name_; }
  const std::string& Path() const { return path_; }
  const std::vector<Field>& Fields() const { return fields_; }
  // The column of that name (letter case aside), or -1. System fields are not found.
  int FindField(std::u16string_view name) const;
  std::uint32_t RecordCount() const { return count_; }
  std::uint32_t RecordLength() const { return recLen_; }

  // The code page of the text, and where it came from ("arquivo .cpg", "byte de
  // idioma 0x03", "estimado"). Decided on first use.
  CodePage Cp() const;
  const std::string& CpSource() const;
  // The memo file beside the table (.dbt or .fpt), empty when there is none.
  const std::string& MemoPath() const { return memoPath_; }
  // The table names no code page and another one would read its text almost as
  // well: the guess may be wrong, and an operator should look at its accents.
  bool CpGuessIsClose() const;

  // How the records will be visited. In record order they are read in the mapping,
  // whose pages passed are handed back every 4096 records. In any other order
  // (ORDER BY) each record is copied out of the file when it is first needed, so
  // nothing of the file stays resident however scattered the visits are.
  void AdviseSequential() const;
  void AdviseRandom() const;

  // The record's deletion flag: true live, false deleted. Throws ESourceError on an
  // end-of-file mark (0x1A) or any other byte where the flag should be.
  bool IsLive(std::uint32_t rec) const;

  // Values of a field of a record. Text and number conversions are those of the
  // source query (README): text without its right padding, dates in the short date
  // format, numbers in decimal with the regional separator. A value that does not
  // convert throws ESourceError naming table, column and record.
  bool IsNull(std::uint32_t rec, const Field& f) const;
  UString AsText(std::uint32_t rec, const Field& f, const FormatSettings& fs) const;
  double AsDouble(std::uint32_t rec, const Field& f, const FormatSettings& fs) const;
  TDateTime AsDateTime(std::uint32_t rec, const Field& f, const FormatSettings& fs) const;

  static Kind KindOf(const Field& f);
  // Typed reads for comparisons; false when the value is null.
  // Text: the stored bytes without the right padding (blanks and NULs).
  bool TextBytes(std::uint32_t rec, const Field& f, std::string_view& out) const;
  bool NumberOf(std::uint32_t rec, const Field& f, Decimal& out) const;
  bool DateOf(std::uint32_t rec, const Field& f, TDateTime& out) const;
  bool LogicalOf(std::uint32_t rec, const Field& f, bool& out) const;
  bool MemoOf(std::uint32_t rec, const Field& f, UString& out) const;

  // The error for a value that does not convert.
  [[noreturn]] void BadValue(std::uint32_t rec, const Field& f, const std::string& what) const;

 private:
  // The steps of the constructor after the fixed header. where: the table as
  // messages name it. The field descriptors and the layout of the record.
  void ReadFields(const std::string& where);
  // The record count against the file size.
  void CountRecords(const std::string& where);
  // The memo file and a `.cpg` naming the code page, beside the table.
  void FindCompanions();
  // The bytes of the field in the record; throws when the file ends inside them.
  const std::uint8_t* Cell(std::uint32_t rec, const Field& f) const;
  // The bytes of the record from its deletion flag: in the mapping, or copied out
  // of the file when the records are visited out of order.
  const std::uint8_t* Record(std::uint32_t rec) const {
    if (rec != lastTouched_) Visit(rec);
    return copied_ ? copiedRecord_ : dbf_.Data() + headerLen_ + static_cast<std::uint64_t>(rec) * recLen_;
  }
  void Visit(std::uint32_t rec) const;
  bool NullFlag(std::uint32_t rec, const Field& f) const;
  std::string TableText() const;
  std::string Quote(const std::uint8_t* p, std::size_t n) const;
  void OpenMemo() const;
  std::string_view MemoBytes(std::uint32_t rec, const Field& f, bool& isNull) const;
  void DecideCodePage() const;

  std::string path_;
  UString name_;
  MappedFile dbf_;
  mutable std::uint32_t lastTouched_ = 0xFFFFFFFFu;
  // Records visited out of order: the bytes last read from the file (one record,
  // or a run of them while the visits go on in file order), where they start in
  // the file, how many to read next, and the record visited last among them.
  mutable bool copied_ = false;
  mutable std::vector<std::uint8_t> copy_;
  mutable std::uint64_t copyFrom_ = 0;
  mutable std::size_t copyLen_ = 0, copySpan_ = 0;
  mutable const std::uint8_t* copiedRecord_ = nullptr;
  std::uint8_t version_ = 0;
  std::uint8_t ldid_ = 0;
  std::uint32_t headerCount_ = 0;
  std::uint32_t count_ = 0;
  std::uint32_t headerLen_ = 0;
  std::uint32_t recLen_ = 0;
  std::vector<Field> fields_;
  int nullFlagsField_ = -1;

  std::string memoPath_;  // empty when there is no memo file beside the table
  bool memoFpt_ = false;
  mutable bool memoOpened_ = false;
  mutable MappedFile memo_;
  mutable std::uint32_t memoBlock_ = 512;

  std::string cpgPath_;
  mutable std::optional<CodePage> cp_;
  mutable std::string cpSource_;
  mutable bool cpClose_ = false;
};

// A date written as text: in the short date format in force, or as AAAAMMDD.
bool ParseDateText(std::u16string_view s, TDateTime& out, const FormatSettings& fs);

// The file of the table in the folder, matched without regard to letter case:
// "ContPag" finds CONTPAG.DBF or contpag.dbf. Throws ESourceError when the folder
// does not exist, the table is not there, or two files differ only by case.
std::string FindTableFile(const std::string& folder, std::u16string_view table);

}  // namespace dbase
