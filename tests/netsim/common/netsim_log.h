// The record files of the simulated network, log.txt and received.txt, and how to read them.
//
// log.txt holds one line per tool invocation:
//   <GetTickCount()> TAB <tool name> TAB <escaped command line> { TAB <escaped argument> } CR LF
// The arguments are those the tool's C runtime cut from the command line (argv[1] on), which
// is what real net.exe and msg.exe work with.
// received.txt holds one line per delivered message:
//   <recipient station, or DOMAIN:name> TAB <escaped message> CR LF
//
// Escaping keeps every record on one line: backslash becomes "\\", CR "\r", LF "\n" and
// TAB "\t"; every other byte (Windows-1252 text) stays as it is.
//
// Header-only and standard C++ only, so that the tools, the Windows tests and host code can
// all use it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace botenruf::netsim {

inline std::string EscapeField(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// Reverses EscapeField. Gives nothing for a backslash that starts no known pair, so that a
// damaged record is noticed instead of being read as something else.
inline std::optional<std::string> UnescapeField(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) {
      return std::nullopt;
    }
    switch (text[i]) {
      case '\\':
        out += '\\';
        break;
      case 'r':
        out += '\r';
        break;
      case 'n':
        out += '\n';
        break;
      case 't':
        out += '\t';
        break;
      default:
        return std::nullopt;
    }
  }
  return out;
}

struct LogEntry {
  std::uint32_t tick = 0;
  std::string tool;
  std::string commandLine;             // unescaped: exactly what GetCommandLineA gave the tool
  std::vector<std::string> arguments;  // argv[1] on, as the tool's C runtime cut them
};

struct ReceivedEntry {
  std::string recipient;  // station name as the scenario spells it, or "DOMAIN:" + domain name
  std::string message;    // unescaped
};

inline std::string FormatLogLine(std::uint32_t tick, std::string_view tool,
                                 std::string_view commandLine,
                                 const std::vector<std::string>& arguments = {}) {
  std::string line =
      std::to_string(tick) + '\t' + EscapeField(tool) + '\t' + EscapeField(commandLine);
  for (const std::string& argument : arguments)
    line += '\t' + EscapeField(argument);
  return line + "\r\n";
}

inline std::string FormatReceivedLine(std::string_view recipient, std::string_view message) {
  return EscapeField(recipient) + '\t' + EscapeField(message) + "\r\n";
}

// Splits the text of a record file into lines; CR LF and LF end a line. The line end that
// closes the last record does not produce an empty line after it.
inline std::vector<std::string> SplitRecordLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) {
      end = text.size();
    }
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    lines.emplace_back(line);
    start = end + 1;
  }
  return lines;
}

namespace detail {

inline std::string_view WithoutLineEnd(std::string_view line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
    line.remove_suffix(1);
  }
  return line;
}

}  // namespace detail

// Splits one log line (with or without its line end) into its fields. Gives nothing when the
// line is not a well-formed record.
inline std::optional<LogEntry> ParseLogLine(std::string_view line) {
  line = detail::WithoutLineEnd(line);
  std::vector<std::string_view> fields;
  for (std::size_t start = 0;;) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
    if (tab == std::string_view::npos) {
      break;
    }
    start = tab + 1;
  }
  if (fields.size() < 3 || fields[0].empty()) {
    return std::nullopt;
  }
  LogEntry entry;
  std::uint64_t tick = 0;
  for (char c : fields[0]) {
    if (c < '0' || c > '9') {
      return std::nullopt;
    }
    tick = tick * 10 + static_cast<std::uint64_t>(c - '0');
    if (tick > 0xFFFFFFFFull) {
      return std::nullopt;
    }
  }
  entry.tick = static_cast<std::uint32_t>(tick);
  std::vector<std::string> texts;
  for (std::string_view field : std::vector<std::string_view>(fields.begin() + 1, fields.end())) {
    std::optional<std::string> text = UnescapeField(field);
    if (!text) {
      return std::nullopt;
    }
    texts.push_back(std::move(*text));
  }
  entry.tool = std::move(texts[0]);
  entry.commandLine = std::move(texts[1]);
  entry.arguments.assign(texts.begin() + 2, texts.end());
  return entry;
}

inline std::optional<ReceivedEntry> ParseReceivedLine(std::string_view line) {
  line = detail::WithoutLineEnd(line);
  const std::size_t tab = line.find('\t');
  if (tab == std::string_view::npos) {
    return std::nullopt;
  }
  std::optional<std::string> recipient = UnescapeField(line.substr(0, tab));
  std::optional<std::string> message = UnescapeField(line.substr(tab + 1));
  if (!recipient || !message) {
    return std::nullopt;
  }
  return ReceivedEntry{std::move(*recipient), std::move(*message)};
}

}  // namespace botenruf::netsim
