#include "remote/control_file.h"

#include "scheduler/text_decoding.h"

namespace orv {

namespace {

using Kind = ControlLine::Kind;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

// Characters, not bytes: the limit is what an editor shows.
std::size_t Characters(std::string_view utf8) {
  std::size_t n = 0;
  for (unsigned char c : utf8) n += (c & 0xC0) != 0x80;
  return n;
}

bool IsAscii(std::string_view s) {
  for (unsigned char c : s)
    if (c >= 0x80) return false;
  return true;
}

constexpr const char* kKeyNames[] = {"", "prefixo", "codigo", "confirmacao", "parado"};

Kind KindOf(const std::string& key) {
  for (int k = 1; k <= 4; ++k)
    if (key == kKeyNames[k]) return static_cast<Kind>(k);
  return Kind::Other;
}

const std::string kCodeRule = "o c\xC3\xB3" "digo deve ter de 4 a 8 caracteres entre 0-9 e A-D";

}  // namespace

bool IsValidPrefix(char c) { return c >= 'A' && c <= 'D'; }

bool IsValidCode(std::string_view code) {
  if (code.size() < kCodeShortest || code.size() > kCodeLongest) return false;
  for (char c : code)
    if (!((c >= '0' && c <= '9') || IsValidPrefix(c))) return false;
  return true;
}

ControlFile ParseControlFile(std::string_view utf8) {
  ControlFile file;
  if (utf8.substr(0, 3) == "\xEF\xBB\xBF") utf8.remove_prefix(3);
  std::vector<int> seen(5, 0);   // per kind, the line that set it
  int codeLine = 0;
  auto refuse = [&file](int line, std::string why) {
    if (file.badLine == 0) file.badLine = line, file.problem = std::move(why);
  };
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    std::size_t end = utf8.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = utf8.size();
    const std::string_view text = utf8.substr(pos, end - pos);
    pos = end;
    if (pos < utf8.size()) {
      if (utf8[pos] == '\r' && pos + 1 < utf8.size() && utf8[pos + 1] == '\n') ++pos;
      ++pos;
    }
    const int n = static_cast<int>(file.lines.size()) + 1;
    ControlLine line;
    if (Characters(text) > kControlLineLimit) {
      file.lines.push_back({Kind::Other, std::string(text), true});
      refuse(n, "a linha tem mais de " + std::to_string(kControlLineLimit) + " caracteres");
      continue;
    }
    line.text = std::string(text);
    std::string_view rest = Trim(text);
    if (rest.empty() || rest.front() == '#') {
      file.lines.push_back(std::move(line));
      continue;
    }
    std::size_t cut = 0;
    while (cut < rest.size() && !IsBlank(rest[cut])) ++cut;
    const std::string_view keyText = rest.substr(0, cut);
    const std::string_view value = Trim(rest.substr(cut));
    if (!IsAscii(keyText)) {
      line.bad = true;
      refuse(n, "a chave \"" + std::string(keyText.substr(0, 40)) + "\" tem letras acentuadas; escreva " +
                    "prefixo, codigo, confirmacao ou parado sem acento");
      file.lines.push_back(std::move(line));
      continue;
    }
    line.kind = KindOf(Lower(keyText));
    const int k = static_cast<int>(line.kind);
    if (line.kind != Kind::Other) {
      if (seen[k] != 0) {
        line.bad = true;
        refuse(n, "a chave " + std::string(kKeyNames[k]) + " j\xC3\xA1 apareceu na linha " + std::to_string(seen[k]));
      } else {
        seen[k] = n;
      }
    }
    ControlSettings& s = file.settings;
    switch (line.kind) {
      case Kind::Other: break;
      case Kind::Prefix:
        if (value.size() == 1 && IsValidPrefix(Upper(value[0]))) {
          if (!line.bad) s.prefix = Upper(value[0]);
        } else {
          line.bad = true;
          refuse(n, "o prefixo deve ser uma letra de A a D");
        }
        break;
      case Kind::Code: {
        std::string code;
        for (char c : value) code += Upper(c);
        // The value is never quoted back: it may be one key-press from the real code.
        if (IsValidCode(code)) {
          if (!line.bad) s.code = code, codeLine = n;
        } else {
          line.bad = true;
          refuse(n, kCodeRule);
        }
        break;
      }
      case Kind::Confirmation:
        if (!line.bad) s.confirmation = std::string(value);
        break;
      case Kind::Stopped: {
        const std::string v = Lower(value);
        if (v == "sim") {
          s.stopped = true;
        } else if (v != "n\xC3\xA3o" && v != "n\xC3\x83o" && v != "nao") {
          line.bad = true;
          refuse(n, "parado deve ser sim ou n\xC3\xA3o");
        }
        break;
      }
    }
    file.lines.push_back(std::move(line));
  }
  if (!file.settings.code.empty() && file.settings.prefix == 0)
    refuse(codeLine, "h\xC3\xA1 um c\xC3\xB3" "digo, mas falta a linha prefixo (uma letra de A a D)");
  if (file.refused()) {
    // Only the brake is honoured from a refused file.
    const bool stopped = file.settings.stopped;
    file.settings = ControlSettings{};
    file.settings.stopped = stopped;
  }
  return file;
}

namespace {

// The lines read again, so that what the file holds and what it means agree.
ControlFile Reread(const std::vector<ControlLine>& lines) {
  std::string text;
  for (const ControlLine& line : lines) text += line.text + "\n";
  return ParseControlFile(text);
}

}  // namespace

ControlFile WithSettings(const ControlFile& file, const ControlSettings& s) {
  auto valueOf = [&s](Kind k) -> std::string {
    switch (k) {
      case Kind::Prefix: return s.prefix ? std::string(1, s.prefix) : "";
      case Kind::Code: return s.code;
      case Kind::Confirmation: return s.confirmation;
      case Kind::Stopped: return s.stopped ? "sim" : "";
      case Kind::Other: break;
    }
    return "";
  };
  std::vector<ControlLine> lines;
  if (file.lines.empty())
    lines.push_back({Kind::Other, "# Controle do Orvalen pelo r\xC3\xA1" "dio (veja LEIAME.txt)"});
  std::vector<bool> written(5, false);
  for (const ControlLine& line : file.lines) {
    if (line.bad) continue;
    if (line.kind == Kind::Other) {
      lines.push_back(line);
      continue;
    }
    const int k = static_cast<int>(line.kind);
    const std::string value = valueOf(line.kind);
    if (written[k] || value.empty()) continue;
    written[k] = true;
    lines.push_back({line.kind, std::string(kKeyNames[k]) + " " + value});
  }
  for (int k = 1; k <= 4; ++k) {
    const std::string value = valueOf(static_cast<Kind>(k));
    if (written[k] || value.empty()) continue;
    lines.push_back({static_cast<Kind>(k), std::string(kKeyNames[k]) + " " + value});
  }
  return Reread(lines);
}

ControlFile WithStopped(const ControlFile& file, bool stopped) {
  std::vector<ControlLine> lines;
  for (const ControlLine& line : file.lines)
    if (line.kind != Kind::Stopped) lines.push_back(line);
  if (stopped) lines.push_back({Kind::Stopped, "parado sim"});
  return Reread(lines);
}

std::string FormatControlFile(const ControlFile& file) {
  std::string out;
  for (const ControlLine& line : file.lines) out += line.text + "\r\n";
  // Plain ASCII reads the same in every code page; anything else goes as
  // marked UTF-8, which Notepad and this program both read back unchanged.
  return IsAscii(out) ? out : "\xEF\xBB\xBF" + out;
}

std::string ControlRefusalMessage(const ControlFile& file) {
  if (!file.refused()) return {};
  const std::string where = file.badLine > 0 ? " (linha " + std::to_string(file.badLine) + ": " + file.problem + ")"
                                             : ": " + file.problem;
  return "O arquivo " + kControlFileName + " foi recusado" + where +
         ". O controle pelo r\xC3\xA1" "dio fica desligado at\xC3\xA9 que ele seja corrigido.";
}

std::optional<ControlFile> ReadControlFile(FileSystem& files, const Locale& locale) {
  if (!files.exists(kControlFileName)) return std::nullopt;
  std::string error;
  const auto bytes = files.readAll(kControlFileName, &error);
  if (!bytes) {
    ControlFile refused;
    refused.badLine = -1;
    refused.problem = "n\xC3\xA3o p\xC3\xB4" "de ser lido: " + error;
    return refused;
  }
  return ParseControlFile(DecodeTextFile(*bytes, locale));
}

std::string SaveControlFile(FileSystem& files, const ControlFile& file) {
  if (const WriteResult r = files.replaceAll(kControlFileName, FormatControlFile(file), kControlBackupName); !r.ok)
    return "N\xC3\xA3o foi poss\xC3\xADvel gravar " + kControlFileName + ": " + r.error +
           "\r\nO arquivo anterior continua como estava.";
  return {};
}

}  // namespace orv
