// Reading and writing the controller definition.
#include "calibration/controller_file.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "calibration/vcl/str.h"

namespace cal {

namespace {

// The integer at the start of a field, as the old reader took it: blanks, a sign and digits;
// 0 when there is none. Large values saturate instead of overflowing.
int LeadingInt(std::string_view s) {
  std::string t = vcl::Trim(s);
  size_t i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
  long long v = 0;
  for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
    v = v * 10 + (t[i] - '0');
    if (v > 0x7FFFFFFF) v = 0x7FFFFFFF;
  }
  return static_cast<int>(negative ? -v : v);
}

// The text between the next "=" at or after `from` and the next comma after it (or the end
// when toEnd); `from` moves past what was taken. Missing pieces give "".
std::string TakeValue(std::string_view rest, size_t& from, bool toEnd) {
  const size_t eq = rest.find('=', from);
  if (eq == std::string_view::npos) {
    from = rest.size();
    return {};
  }
  size_t end = toEnd ? std::string_view::npos : rest.find(',', eq + 1);
  if (end == std::string_view::npos) end = rest.size();
  from = end;
  return std::string(rest.substr(eq + 1, end - eq - 1));
}

}  // namespace

void ControllerFileReader::AddPiece(std::string_view piece) {
  // fgets hands over C strings: nothing after a NUL counts.
  piece = piece.substr(0, piece.find('\0'));
  size_t start = 0;
  while (start <= piece.size()) {
    size_t end = piece.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = piece.size();
    AddLine(piece.substr(start, end - start));
    start = end + 1;
  }
}

void ControllerFileReader::AddLine(std::string_view raw) {
  const std::string line = vcl::UpperCase(vcl::Trim(raw));
  if (line.empty() || line.compare(0, 4, "BYTE") != 0) return;
  if (static_cast<int>(rows_.size()) >= kMaxControllerRows) return;
  ControllerRow row;
  // A line without its commas keeps the missing columns empty.
  const size_t c1 = line.find(',');
  row.a = vcl::Trim(std::string_view(line).substr(0, c1));
  if (c1 != std::string::npos) {
    const size_t c2 = line.find(',', c1 + 1);
    row.b = vcl::Trim(std::string_view(line).substr(c1 + 1, c2 == std::string::npos ? std::string::npos : c2 - c1 - 1));
    if (c2 != std::string::npos) {
      const std::string_view rest = std::string_view(line).substr(c2 + 1);
      const size_t c3 = rest.find(',');
      if (c3 != std::string_view::npos) {
        row.name = vcl::Trim(rest.substr(0, c3));
        size_t from = c3 + 1;
        row.min = LeadingInt(TakeValue(rest, from, false));
        row.max = LeadingInt(TakeValue(rest, from, false));
        row.err = LeadingInt(TakeValue(rest, from, true));
      } else {
        row.name = vcl::Trim(rest);
      }
    }
  }
  rows_.push_back(std::move(row));
}

std::vector<ControllerRow> ParseControllerText(std::string_view text) {
  ControllerFileReader reader;
  size_t start = 0;
  while (start < text.size()) {
    size_t take = 0;
    while (take < 255 && start + take < text.size()) {
      if (text[start + take++] == '\n') break;
    }
    reader.AddPiece(text.substr(start, take));
    start += take;
  }
  return reader.Rows();
}

bool ReadControllerFile(const std::string& path, std::vector<ControllerRow>& rows) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "r"), &std::fclose);
  if (!file) return false;
  ControllerFileReader reader;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, file.get())) reader.AddPiece(buffer);
  rows = reader.Rows();
  return true;
}

std::array<RowRange, kRangedRows> ComputeRowRanges(const Ranges& r) {
  auto mn = [&](int p) { return r[p].min; };
  auto mx = [&](int p) { return r[p].max; };
  auto mid = [&](int p) { return (r[p].min + r[p].max) / 2; };
  std::array<RowRange, kRangedRows> o{};
  o[0].min = mn(0) - 10;
  o[2].max = mx(2) + 10;
  const int m = mid(1);
  o[0].max = (o[0].min - m) / 4 + m;
  o[1].min = o[0].max - 1;
  o[1].max = m - (m - o[2].max) / 4;
  o[2].min = o[1].max - 1;

  o[8].min = mn(3) - 5;
  o[8].max = mx(4) + 5;
  o[6].max = mx(5) + 5;
  o[6].min = mx(6) - 5;
  o[7].min = o[8].max - 1;
  o[7].max = o[6].min + 1;

  o[3].min = mn(7) - 10;
  o[3].max = mn(8);
  o[4].min = o[3].max - 1;
  o[4].max = mx(9) + 5;
  o[5].min = mn(10) - 10;
  o[5].max = mx(12) + 10;

  o[9].min = 0;
  const int x = std::max(mx(kBailOffReleased), mx(kBailOffFull));
  const int y = std::max(mn(11), mn(13));
  o[9].max = y - (y - x) / 3;
  o[10].min = o[9].max + 1;
  o[10].max = 255;

  int d = (mid(15) - mid(14)) / 2;
  o[11].min = mn(14);
  o[11].max = mn(15) - d;
  o[12].min = o[11].max + 1;
  d = (mid(16) - mid(15)) / 2;
  o[12].max = mx(15) + d;
  o[13].min = o[12].max + 1;
  o[13].max = mx(16);

  d = (mid(18) - mid(17)) / 2;
  o[14].min = mn(17);
  o[14].max = mn(18) - d;
  o[15].min = o[14].max + 1;
  d = (mid(19) - mid(18)) / 2;
  o[15].max = mx(18) + d;
  o[16].min = o[15].max + 1;
  o[16].max = mx(19);
  return o;
}

std::string ControllerFileText(const std::vector<ControllerRow>& rows, const Ranges& ranges,
                               bool marked) {
  const auto ranged = ComputeRowRanges(ranges);
  std::string out = "MODERN\nPID=00D2\nName=\"MODERN DESKTOP\"\nINPUT\n";
  static const ControllerRow kEmpty;
  for (int i = 0; i < kWrittenRows; ++i) {
    const ControllerRow& row = i < static_cast<int>(rows.size()) ? rows[i] : kEmpty;
    out += row.a + "," + row.b + "," + row.name;
    if (i < kRangedRows) {
      out += ",MIN=" + std::to_string(ranged[i].min) + ",MAX=" + std::to_string(ranged[i].max) +
             (marked ? ",ERR=2" : ",ERR=0");
    }
    out += "\n";
  }
  out += "OUTPUT\n86H,BYTE1,PCN=53\n86H,BYTE2,PCN=53\n86H,BYTE3,PCN=53\n85H,BYTE7,BIT0,PCN=186\nEND";
  return out;
}

}  // namespace cal
