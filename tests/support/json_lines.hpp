#pragma once
// The state summary as people read it in a diff: one field of the top object per line, and one
// element per line of an array of objects (the bodies), so that a change to the game shows as the
// few lines it changed. And the summary flattened to (JSON path, value) pairs, so that a mismatch
// is named by its path ("bodies[12].x"), not by a byte offset in a line of 150 KB.
//
// Only what the summary holds is understood: objects, arrays, strings, numbers, true, false, null.

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace starvane::testing {

namespace json_lines_detail {

// The end of the string that starts at text[at] (a '"'), just past its closing quote.
inline std::size_t StringEnd(const std::string& text, std::size_t at) {
  for (++at; at < text.size(); ++at) {
    if (text[at] == '\\') {
      ++at;
    } else if (text[at] == '"') {
      return at + 1;
    }
  }
  return text.size();
}

inline bool IsBlank(char c) {
  return c == ' ' || c == '\n' || c == '\r' || c == '\t';
}

}  // namespace json_lines_detail

// The summary with line breaks: after the top object's opening brace and each of its fields, and
// between the elements of every array whose elements are objects. Spaces elsewhere are kept, so
// the same summary always gives the same lines.
inline std::string JsonLines(const std::string& text) {
  using json_lines_detail::StringEnd;
  std::string out;
  // For each open container: whether its elements go one per line.
  std::vector<bool> broken;
  for (std::size_t at = 0; at < text.size();) {
    const char c = text[at];
    if (c == '"') {
      const std::size_t end = StringEnd(text, at);
      out.append(text, at, end - at);
      at = end;
      continue;
    }
    if (c == '\n' && broken.empty()) {  // the line end after the summary
      out += c;
      ++at;
      continue;
    }
    if (c == '{' || c == '[') {
      std::size_t next = at + 1;
      while (next < text.size() && text[next] == ' ') ++next;
      const bool one_per_line =
          broken.empty() || (c == '[' && next < text.size() && text[next] == '{');
      broken.push_back(one_per_line);
      out += c;
      if (one_per_line) out += "\n" + std::string(2 * broken.size(), ' ');
      at = next;
      continue;
    }
    if ((c == '}' || c == ']') && !broken.empty()) {
      const bool was_broken = broken.back();
      broken.pop_back();
      if (was_broken) out += "\n" + std::string(2 * broken.size(), ' ');
      out += c;
      ++at;
      continue;
    }
    if (c == ',' && !broken.empty() && broken.back()) {
      out += ",\n" + std::string(2 * broken.size(), ' ');
      ++at;
      while (at < text.size() && text[at] == ' ') ++at;
      continue;
    }
    out += c;
    ++at;
  }
  return out;
}

// Every value of the summary with its path, in order: {"frame", "25"}, {"bodies[0].kind", "1"},
// {"bodies[0].p1[1]", "-3.5"}. Values are their text as written (strings with their quotes).
inline std::vector<std::pair<std::string, std::string>> JsonLeaves(const std::string& text) {
  using json_lines_detail::IsBlank;
  using json_lines_detail::StringEnd;
  std::vector<std::pair<std::string, std::string>> leaves;
  struct Open {
    std::string path;
    bool array;
    int index;
  };
  std::vector<Open> open;
  std::string key;  // the key of the value that comes next inside an object
  auto path_here = [&]() {
    if (open.empty()) return std::string();
    const Open& top = open.back();
    return top.array ? top.path + "[" + std::to_string(top.index) + "]"
                     : (top.path.empty() ? key : top.path + "." + key);
  };
  bool expect_key = false;
  for (std::size_t at = 0; at < text.size();) {
    const char c = text[at];
    if (IsBlank(c) || c == ':') {
      ++at;
    } else if (c == ',') {
      if (!open.empty() && open.back().array) ++open.back().index;
      expect_key = !open.empty() && !open.back().array;
      ++at;
    } else if (c == '{' || c == '[') {
      open.push_back({path_here(), c == '[', 0});
      expect_key = c == '{';
      ++at;
    } else if (c == '}' || c == ']') {
      if (!open.empty()) open.pop_back();
      ++at;
    } else if (c == '"' && expect_key) {
      const std::size_t end = StringEnd(text, at);
      key = text.substr(at + 1, end - at - 2);
      expect_key = false;
      at = end;
    } else {
      const std::size_t end = c == '"' ? StringEnd(text, at) : text.find_first_of(",}] \n", at);
      const std::size_t stop = end == std::string::npos ? text.size() : end;
      leaves.emplace_back(path_here(), text.substr(at, stop - at));
      at = stop;
    }
  }
  return leaves;
}

// The first few differences between two summaries, each by its path; "" when they hold the same.
inline std::string JsonDifferences(const std::string& expected, const std::string& actual,
                                   std::size_t most = 10) {
  const auto want = JsonLeaves(expected);
  const auto got = JsonLeaves(actual);
  std::string report;
  std::size_t found = 0;
  for (std::size_t i = 0; i < want.size() || i < got.size(); ++i) {
    const std::string path = i < want.size() ? want[i].first : got[i].first;
    const std::string a = i < want.size() ? want[i].second : "(nothing)";
    const std::string b = i < got.size() ? got[i].second : "(nothing)";
    if (i < want.size() && i < got.size() && want[i] == got[i]) continue;
    if (i < want.size() && i < got.size() && want[i].first != got[i].first) {
      report += "  the fields differ from " + want[i].first + " / " + got[i].first + " on\n";
      break;
    }
    report += "  " + path + ": expected " + a + ", got " + b + "\n";
    if (++found == most) {
      report += "  ...\n";
      break;
    }
  }
  return report;
}

}  // namespace starvane::testing
