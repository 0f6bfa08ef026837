// RegistryHive and the registry export text (REGEDIT4) it reads and writes.
#include "framework/registry_hive.h"

#include <cstdio>

namespace {

char foldAscii(char c)
{
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

const char* const rootNames[3] = {"HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_CLASSES_ROOT"};
const RegistryRoot exportOrder[3] = {registryLocalMachine, registryCurrentUser, registryClassesRoot};

bool isBlank(char c)
{
  return c == ' ' || c == '\t';
}

int hexDigit(char c)
{
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

std::string trimmed(const std::string& line)
{
  size_t first = 0;
  while (first < line.size() && isBlank(line[first]))
    first++;
  size_t last = line.size();
  while (last > first && isBlank(line[last - 1]))
    last--;
  return line.substr(first, last - first);
}

// The file's lines without their line ends (LF or CR LF).
std::vector<std::string> splitLines(const std::string& text)
{
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos)
      end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

// A quoted text starting at text[at] == '"': its unescaped content; at moves
// past the closing quote. Only \\ and \" are escapes, as regedit writes them.
bool readQuoted(const std::string& text, size_t& at, std::string& result, std::string& reason)
{
  result.clear();
  for (size_t i = at + 1; i < text.size(); i++) {
    char c = text[i];
    if (c == '"') {
      at = i + 1;
      return true;
    }
    if (c == '\\') {
      if (i + 1 >= text.size() || (text[i + 1] != '\\' && text[i + 1] != '"')) {
        reason = "unknown escape in a quoted text";
        return false;
      }
      c = text[++i];
    }
    result += c;
  }
  reason = "quoted text without its closing quote";
  return false;
}

// "NAME\path" of a key line (without the brackets and the removal mark).
bool readKeyName(const std::string& name, RegistryEdit& edit, std::string& reason)
{
  size_t slash = name.find('\\');
  std::string rootName = name.substr(0, slash);
  int found = -1;
  for (int r = 0; r < 3; r++)
    if (sameRegistryName(rootName, rootNames[r]))
      found = r;
  if (found < 0) {
    reason = "unknown root key \"" + rootName + "\"";
    return false;
  }
  edit.root = static_cast<RegistryRoot>(found);
  std::string rest = slash == std::string::npos ? std::string() : name.substr(slash + 1);
  if (slash != std::string::npos && rest.empty()) {
    reason = "key path ends in \"\\\"";
    return false;
  }
  if (!splitRegistryPath(rest, edit.path) || (!rest.empty() && rest.back() == '\\')) {
    reason = "empty key name in the path";
    return false;
  }
  return true;
}

// The bytes of hex:aa,bb,... starting at text[at]; lines ending in "\"
// continue on the next ones.
bool readHexBytes(const std::vector<std::string>& lines, size_t& index, std::string text, size_t at,
                  std::string& data, std::string& reason)
{
  data.clear();
  bool expectByte = true;   // a byte must follow the start or a comma
  for (;;) {
    while (at < text.size() && isBlank(text[at]))
      at++;
    if (at >= text.size())
      break;
    char c = text[at];
    if (c == '\\' && trimmed(text.substr(at + 1)).empty()) {
      if (index + 1 >= lines.size()) {
        reason = "continuation at the end of the file";
        return false;
      }
      text = lines[++index];
      at = 0;
      continue;
    }
    if (c == ',') {
      if (expectByte) {
        reason = "missing byte before \",\"";
        return false;
      }
      expectByte = true;
      at++;
      continue;
    }
    int high = hexDigit(c);
    if (high < 0 || !expectByte) {
      reason = "bad byte in hex data";
      return false;
    }
    int value = high;
    at++;
    if (at < text.size() && hexDigit(text[at]) >= 0)
      value = value * 16 + hexDigit(text[at++]);
    data += static_cast<char>(value);
    expectByte = false;
  }
  if (expectByte && !data.empty()) {
    reason = "hex data ends in \",\"";
    return false;
  }
  return true;
}

bool readHexNumber(const std::string& text, size_t& at, size_t maxDigits, unsigned long& value)
{
  value = 0;
  size_t digits = 0;
  while (at < text.size() && hexDigit(text[at]) >= 0 && digits < maxDigits) {
    value = value * 16 + static_cast<unsigned long>(hexDigit(text[at++]));
    digits++;
  }
  return digits > 0;
}

bool startsWith(const std::string& text, size_t at, const char* prefix)
{
  return text.compare(at, std::char_traits<char>::length(prefix), prefix) == 0;
}

// A value line: "name"=data or @=data.
bool readValueLine(const std::vector<std::string>& lines, size_t& index, const std::string& line,
                   RegistryEdit& edit, std::string& reason)
{
  size_t at = 0;
  if (line[0] == '@') {
    edit.name.clear();
    at = 1;
  } else if (!readQuoted(line, at, edit.name, reason)) {
    return false;
  }
  while (at < line.size() && isBlank(line[at]))
    at++;
  if (at >= line.size() || line[at] != '=') {
    reason = "value line without \"=\"";
    return false;
  }
  at++;
  while (at < line.size() && isBlank(line[at]))
    at++;
  if (at >= line.size()) {
    reason = "value line without data";
    return false;
  }
  std::string rest;
  if (line[at] == '-') {
    edit.kind = RegistryEdit::removeValue;
    rest = line.substr(at + 1);
  } else if (line[at] == '"') {
    edit.kind = RegistryEdit::setValue;
    edit.type = registryText;
    if (!readQuoted(line, at, edit.data, reason))
      return false;
    edit.data += '\0';
    rest = line.substr(at);
  } else if (startsWith(line, at, "dword:")) {
    edit.kind = RegistryEdit::setValue;
    edit.type = registryDword;
    at += 6;
    unsigned long value;
    if (!readHexNumber(line, at, 8, value)) {
      reason = "dword: without a number";
      return false;
    }
    edit.data.clear();
    for (int i = 0; i < 4; i++)
      edit.data += static_cast<char>((value >> (8 * i)) & 0xFF);
    rest = line.substr(at);
  } else if (startsWith(line, at, "hex")) {
    edit.kind = RegistryEdit::setValue;
    edit.type = registryBinary;
    at += 3;
    if (at < line.size() && line[at] == '(') {
      at++;
      unsigned long type;
      if (!readHexNumber(line, at, 8, type) || at >= line.size() || line[at] != ')') {
        reason = "bad type in hex(...)";
        return false;
      }
      edit.type = static_cast<unsigned>(type);
      at++;
    }
    if (at >= line.size() || line[at] != ':') {
      reason = "hex data without \":\"";
      return false;
    }
    return readHexBytes(lines, index, line, at + 1, edit.data, reason);
  } else {
    reason = "unknown kind of value data";
    return false;
  }
  if (!trimmed(rest).empty()) {
    reason = "text after the value data";
    return false;
  }
  return true;
}

void appendEscaped(std::string& out, const std::string& text)
{
  out += '"';
  for (char c : text) {
    if (c == '\\' || c == '"')
      out += '\\';
    out += c;
  }
  out += '"';
}

// A REG_SZ that the quoted form carries: one terminating zero, no other zero,
// no line end.
bool quotable(const RegistryHive::Value& value)
{
  if (value.type != registryText || value.data.empty() || value.data.back() != '\0')
    return false;
  return value.data.find_first_of(std::string("\0\r\n", 3)) == value.data.size() - 1;
}

void appendValue(std::string& out, const RegistryHive::Value& value)
{
  std::string line;
  if (value.name.empty())
    line = "@";
  else
    appendEscaped(line, value.name);
  line += '=';
  char number[16];
  if (quotable(value)) {
    appendEscaped(line, value.data.substr(0, value.data.size() - 1));
  } else if (value.type == registryDword && value.data.size() == 4) {
    unsigned long n = 0;
    for (int i = 3; i >= 0; i--)
      n = n * 256 + static_cast<unsigned char>(value.data[i]);
    std::snprintf(number, sizeof number, "dword:%08lx", n);
    line += number;
  } else {
    if (value.type == registryBinary) {
      line += "hex:";
    } else {
      std::snprintf(number, sizeof number, "hex(%x):", value.type);
      line += number;
    }
    for (size_t i = 0; i < value.data.size(); i++) {
      std::snprintf(number, sizeof number, "%02x", static_cast<unsigned char>(value.data[i]));
      line += number;
      if (i + 1 < value.data.size()) {
        line += ',';
        // Lines of at most 80 characters, as regedit writes them.
        if (line.size() > 74) {
          out += line + "\\\r\n";
          line = "  ";
        }
      }
    }
  }
  out += line + "\r\n";
}

void appendKey(std::string& out, const std::string& path, const RegistryHive::Key& key)
{
  out += "\r\n[" + path + "]\r\n";
  for (const RegistryHive::Value& value : key.values)
    appendValue(out, value);
  for (const auto& sub : key.subkeys)
    appendKey(out, path + "\\" + sub.second->name, *sub.second);
}

}  // namespace

bool RegistryNameLess::operator()(const std::string& a, const std::string& b) const
{
  size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; i++) {
    unsigned char x = static_cast<unsigned char>(foldAscii(a[i]));
    unsigned char y = static_cast<unsigned char>(foldAscii(b[i]));
    if (x != y)
      return x < y;
  }
  return a.size() < b.size();
}

bool sameRegistryName(const std::string& a, const std::string& b)
{
  RegistryNameLess less;
  return !less(a, b) && !less(b, a);
}

bool splitRegistryPath(const std::string& path, std::vector<std::string>& components)
{
  components.clear();
  std::string rest = path;
  if (!rest.empty() && rest.back() == '\\')
    rest.pop_back();
  if (rest.empty())
    return path.empty();
  size_t start = 0;
  for (;;) {
    size_t end = rest.find('\\', start);
    std::string name = rest.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (name.empty())
      return false;
    components.push_back(name);
    if (end == std::string::npos)
      return true;
    start = end + 1;
  }
}

bool parseRegistryExport(const std::string& text, std::vector<RegistryEdit>& edits, std::string& error)
{
  edits.clear();
  std::vector<std::string> lines = splitLines(text);
  bool header = false;
  bool inKey = false;    // a key line that value lines may follow
  RegistryEdit current;
  for (size_t index = 0; index < lines.size(); index++) {
    std::string line = trimmed(lines[index]);
    size_t number = index + 1;
    std::string reason;
    if (line.empty() || line[0] == ';')
      continue;
    if (!header) {
      if (line != "REGEDIT4") {
        error = "line " + std::to_string(number) + ": the file does not begin with REGEDIT4";
        return false;
      }
      header = true;
      continue;
    }
    if (line[0] == '[') {
      RegistryEdit edit;
      bool ok = line.size() >= 2 && line.back() == ']';
      std::string name = ok ? line.substr(1, line.size() - 2) : std::string();
      edit.kind = RegistryEdit::addKey;
      if (!name.empty() && name[0] == '-') {
        edit.kind = RegistryEdit::removeKey;
        name.erase(0, 1);
      }
      if (!ok)
        reason = "key line without \"]\"";
      else if (!readKeyName(name, edit, reason))
        ok = false;
      if (!ok) {
        error = "line " + std::to_string(number) + ": " + reason;
        return false;
      }
      inKey = edit.kind == RegistryEdit::addKey;
      current = edit;
      edits.push_back(edit);
      continue;
    }
    if (line[0] == '"' || line[0] == '@') {
      if (!inKey) {
        error = "line " + std::to_string(number) + ": value line outside a key";
        return false;
      }
      RegistryEdit edit = current;
      if (!readValueLine(lines, index, line, edit, reason)) {
        error = "line " + std::to_string(number) + ": " + reason;
        return false;
      }
      edits.push_back(edit);
      continue;
    }
    error = "line " + std::to_string(number) + ": neither a key nor a value line";
    return false;
  }
  if (!header) {
    error = "line 1: the file does not begin with REGEDIT4";
    return false;
  }
  return true;
}

RegistryHive::Value* RegistryHive::Key::value(const std::string& name)
{
  for (Value& v : values)
    if (sameRegistryName(v.name, name))
      return &v;
  return nullptr;
}

RegistryHive::Key* RegistryHive::Key::subkey(const std::string& name)
{
  auto found = subkeys.find(name);
  return found == subkeys.end() ? nullptr : found->second.get();
}

RegistryHive::RegistryHive()
{
  reset();
}

void RegistryHive::reset()
{
  for (int r = 0; r < 3; r++) {
    roots_[r] = Key();
    roots_[r].name = rootNames[r];
  }
  make(roots_[registryCurrentUser], {"Software"}, "");
  make(roots_[registryLocalMachine], {"SOFTWARE"}, "");
}

RegistryHive::Key* RegistryHive::find(Key& from, const std::vector<std::string>& path)
{
  Key* key = &from;
  for (const std::string& name : path) {
    key = key->subkey(name);
    if (!key)
      return nullptr;
  }
  return key;
}

RegistryHive::Key& RegistryHive::make(Key& from, const std::vector<std::string>& path,
                                      const std::string& className)
{
  Key* key = &from;
  for (const std::string& name : path) {
    Key* next = key->subkey(name);
    if (!next) {
      std::unique_ptr<Key> made(new Key);
      made->name = name;
      made->className = className;
      next = made.get();
      key->subkeys[name] = std::move(made);
    }
    key = next;
  }
  return *key;
}

void RegistryHive::setValue(Key& key, const std::string& name, unsigned type, const std::string& data)
{
  Value* existing = key.value(name);
  if (!existing) {
    key.values.push_back(Value());
    existing = &key.values.back();
    existing->name = name;
  }
  existing->type = type;
  existing->data = data;
}

bool RegistryHive::importText(const std::string& text, std::string& error)
{
  std::vector<RegistryEdit> edits;
  if (!parseRegistryExport(text, edits, error))
    return false;
  for (const RegistryEdit& edit : edits) {
    Key& root = roots_[edit.root];
    switch (edit.kind) {
    case RegistryEdit::addKey:
      make(root, edit.path, "");
      break;
    case RegistryEdit::removeKey:
      if (!edit.path.empty()) {
        std::vector<std::string> parentPath(edit.path.begin(), edit.path.end() - 1);
        if (Key* parent = find(root, parentPath))
          parent->subkeys.erase(edit.path.back());
      }
      break;
    case RegistryEdit::setValue:
      setValue(make(root, edit.path, ""), edit.name, edit.type, edit.data);
      break;
    case RegistryEdit::removeValue:
      if (Key* key = find(root, edit.path)) {
        for (auto v = key->values.begin(); v != key->values.end(); ++v) {
          if (sameRegistryName(v->name, edit.name)) {
            key->values.erase(v);
            break;
          }
        }
      }
      break;
    }
  }
  return true;
}

std::string RegistryHive::exportText() const
{
  std::string out = "REGEDIT4\r\n";
  for (RegistryRoot r : exportOrder)
    appendKey(out, rootNames[r], roots_[r]);
  return out + "\r\n";
}
