#include "registry/MemoryRegistryStore.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "platform/TextEncoding.h"

namespace tidewell {
namespace {

constexpr long kPathNotFound = 3;  // ERROR_PATH_NOT_FOUND

// Generic rights as a key maps them.
constexpr std::uint32_t kGenericRead = 0x80000000u;
constexpr std::uint32_t kGenericWrite = 0x40000000u;
constexpr std::uint32_t kGenericExecute = 0x20000000u;
constexpr std::uint32_t kGenericAll = 0x10000000u;
constexpr std::uint32_t kMaximumAllowed = 0x02000000u;

// Below this many values a key finds a value by a plain scan; the name index
// would cost more memory than it saves time.
constexpr std::size_t kValueIndexThreshold = 16;

std::uint32_t GrantedRights(std::uint32_t requested) {
  std::uint32_t granted = requested & ~(kGenericRead | kGenericWrite |
                                        kGenericExecute | kGenericAll |
                                        kMaximumAllowed);
  if (requested & (kGenericRead | kGenericExecute)) granted |= access::KeyRead;
  if (requested & kGenericWrite) granted |= access::KeyWrite;
  if (requested & (kGenericAll | kMaximumAllowed))
    granted |= access::KeyAllAccess;
  return granted;
}

// The form names are compared and sorted in: upper-cased UTF-16.
std::u16string Folded(const std::string& name) {
  std::u16string wide = Utf8ToUtf16(name);
  for (char16_t& c : wide) c = UpcaseChar(c);
  return wide;
}

bool IsRootHandle(KeyHandle handle) {
  return handle >= RootHandle(TRootKey::ClassesRoot) &&
         handle <= RootHandle(TRootKey::Users);
}

// Splits a store path into its components. Repeated backslashes count as one;
// a leading one is refused as the registry refuses it.
long SplitPath(const std::string& path, std::vector<std::string>* parts) {
  if (!path.empty() && path.front() == '\\') return regerr::BadPathname;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) {
      std::string part = path.substr(start, end - start);
      if (Utf16Length(part) > kMaxKeyNameLength) return regerr::InvalidParameter;
      parts->push_back(std::move(part));
    }
    start = end + 1;
  }
  return regerr::Success;
}

struct Value {
  std::string name;
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
};

struct Key : std::enable_shared_from_this<Key> {
  using Children = std::map<std::u16string, std::shared_ptr<Key>>;

  std::string name;
  Key* parent = nullptr;
  bool deleted = false;
  bool permanent = false;  // a root or the current user's key

  Children children;
  std::uint64_t childGeneration = 0;  // changes when a child comes or goes
  // A key with many children (CLSID, Interface) is looked into by every
  // class check: a hash of the folded names spares the tree's walk of
  // string comparisons. Built on first use, kept in step with `children`.
  mutable std::unique_ptr<std::unordered_map<std::u16string_view, Key*>> childIndex;
  std::vector<Value> values;          // in creation order
  std::unique_ptr<std::unordered_map<std::u16string, std::uint32_t>> valueIndex;
  std::uint64_t valueGeneration = 0;

  // Where the last EnumKey stopped, so that walking the children forwards or
  // backwards by index costs one step each instead of a walk from the start.
  std::uint64_t cursorGeneration = ~std::uint64_t{0};
  std::size_t cursorIndex = 0;
  Children::iterator cursor;

  // QueryInfoKey's answer, kept until a child or value changes.
  std::uint64_t infoChildGeneration = ~std::uint64_t{0};
  std::uint64_t infoValueGeneration = ~std::uint64_t{0};
  KeyInfo info;

  // A raw pointer: a walk passes through many keys and owns none of them,
  // so it takes no reference until it arrives.
  Key* Child(const std::string& childName) const {
    // Every open walks its path a name at a time; folding an ASCII name into
    // a reused buffer spares an allocation per step.
    thread_local std::u16string folded;
    folded.clear();
    for (const char c : childName) {
      if (static_cast<unsigned char>(c) >= 0x80) {
        folded = Folded(childName);
        break;
      }
      folded.push_back(UpcaseChar(static_cast<char16_t>(c)));
    }
    constexpr std::size_t kIndexFrom = 64;
    if (!childIndex && children.size() >= kIndexFrom) {
      childIndex = std::make_unique<std::unordered_map<std::u16string_view, Key*>>();
      childIndex->reserve(children.size());
      for (const auto& [foldedName, child] : children) {
        childIndex->emplace(foldedName, child.get());
      }
    }
    if (childIndex) {
      const auto it = childIndex->find(folded);
      return it == childIndex->end() ? nullptr : it->second;
    }
    const auto it = children.find(folded);
    return it == children.end() ? nullptr : it->second.get();
  }

  std::shared_ptr<Key> AddChild(const std::string& childName) {
    auto child = std::make_shared<Key>();
    child->name = childName;
    child->parent = this;
    const auto added = children.emplace(Folded(childName), child).first;
    if (childIndex) childIndex->emplace(added->first, child.get());
    ++childGeneration;
    return child;
  }

  void RemoveChild(Key& child) {
    const std::u16string folded = Folded(child.name);
    if (childIndex) childIndex->erase(folded);
    children.erase(folded);
    child.deleted = true;
    child.parent = nullptr;
    ++childGeneration;
  }

  const std::string* ChildNameAt(std::size_t index) {
    const std::size_t count = children.size();
    if (index >= count) return nullptr;
    if (cursorGeneration != childGeneration) {
      cursorGeneration = childGeneration;
      cursor = children.begin();
      cursorIndex = 0;
    }
    // Start from whichever of the first, the last-used and the end position
    // is nearest.
    const std::size_t fromCursor = index > cursorIndex ? index - cursorIndex
                                                       : cursorIndex - index;
    const std::size_t fromEnd = count - index;
    if (index < fromCursor && index <= fromEnd) {
      cursor = children.begin();
      cursorIndex = 0;
    } else if (fromEnd < fromCursor) {
      cursor = children.end();
      cursorIndex = count;
    }
    for (; cursorIndex < index; ++cursorIndex) ++cursor;
    for (; cursorIndex > index; --cursorIndex) --cursor;
    return &cursor->second->name;
  }

  int FindValue(const std::string& valueName) const {
    if (valueIndex) {
      auto it = valueIndex->find(Folded(valueName));
      return it == valueIndex->end() ? -1 : static_cast<int>(it->second);
    }
    for (std::size_t i = 0; i < values.size(); ++i) {
      if (NamesEqual(values[i].name, valueName)) return static_cast<int>(i);
    }
    return -1;
  }

  void RebuildValueIndex() {
    if (values.size() < kValueIndexThreshold) {
      valueIndex.reset();
      return;
    }
    valueIndex = std::make_unique<
        std::unordered_map<std::u16string, std::uint32_t>>();
    for (std::size_t i = 0; i < values.size(); ++i)
      valueIndex->emplace(Folded(values[i].name), static_cast<std::uint32_t>(i));
  }

  void SetValue(const std::string& valueName, std::uint32_t type,
                const std::uint8_t* data, std::size_t size) {
    const int found = FindValue(valueName);
    Value* value;
    if (found >= 0) {
      value = &values[static_cast<std::size_t>(found)];
    } else {
      values.push_back(Value{valueName, 0, {}});
      value = &values.back();
      if (valueIndex) {
        valueIndex->emplace(Folded(valueName),
                            static_cast<std::uint32_t>(values.size() - 1));
      } else if (values.size() >= kValueIndexThreshold) {
        RebuildValueIndex();
      }
    }
    value->type = type;
    value->data.assign(data, data + size);
    ++valueGeneration;
  }

  void EraseValue(std::size_t index) {
    values.erase(values.begin() + static_cast<std::ptrdiff_t>(index));
    if (valueIndex) RebuildValueIndex();
    ++valueGeneration;
  }

  const KeyInfo& Info() {
    if (infoChildGeneration != childGeneration ||
        infoValueGeneration != valueGeneration) {
      info = KeyInfo{};
      info.subKeyCount = static_cast<std::uint32_t>(children.size());
      for (const auto& entry : children) {
        info.maxSubKeyNameLength =
            std::max(info.maxSubKeyNameLength,
                     static_cast<std::uint32_t>(entry.first.size()));
      }
      info.valueCount = static_cast<std::uint32_t>(values.size());
      for (const Value& value : values) {
        info.maxValueNameLength =
            std::max(info.maxValueNameLength,
                     static_cast<std::uint32_t>(Utf16Length(value.name)));
        info.maxValueDataSize =
            std::max(info.maxValueDataSize,
                     static_cast<std::uint32_t>(value.data.size()));
      }
      infoChildGeneration = childGeneration;
      infoValueGeneration = valueGeneration;
    }
    return info;
  }
};

std::shared_ptr<Key> Owned(Key* key) {
  return key ? key->shared_from_this() : nullptr;
}

std::shared_ptr<Key> Walk(const std::shared_ptr<Key>& from,
                          const std::vector<std::string>& parts) {
  Key* key = from.get();
  for (const std::string& part : parts) {
    if (!key) return nullptr;
    key = key->Child(part);
  }
  return Owned(key);
}

constexpr const char* kWow6432Node = "Wow6432Node";

// The walk of an open in the 32-bit view of a 64-bit registry. Below a key
// that has a Wow6432Node subkey the next name is looked for in that subkey.
// Below a Classes key that subkey holds only the redirected class folders
// (CLSID, Interface and the like): a name it lacks is the shared key beside
// it. "Classes" itself is never redirected: Software\Wow6432Node\Classes is
// the same key as Software\Classes\Wow6432Node.
std::shared_ptr<Key> WalkView32(const std::shared_ptr<Key>& from,
                                const std::vector<std::string>& parts) {
  Key* key = from.get();
  for (const std::string& part : parts) {
    if (!key) return nullptr;
    Key* const node =
        NamesEqual(part, kWow6432Node) || NamesEqual(part, "Classes")
            ? nullptr
            : key->Child(kWow6432Node);
    Key* next = node ? node->Child(part) : key->Child(part);
    if (!next && node && NamesEqual(key->name, "Classes")) {
      next = key->Child(part);
    }
    key = next;
  }
  return Owned(key);
}

std::shared_ptr<Key> WalkOrCreate(std::shared_ptr<Key> key,
                                  const std::vector<std::string>& parts) {
  for (const std::string& part : parts) {
    Key* const child = key->Child(part);
    key = child ? child->shared_from_this() : key->AddChild(part);
  }
  return key;
}

const std::vector<std::string>& ClassesPath() {
  static const std::vector<std::string> path = {"Software", "Classes"};
  return path;
}

// The subkey names of one HKEY_CLASSES_ROOT key: both trees' children merged
// in enumeration order. Kept until either side changes.
struct MergedNames {
  std::shared_ptr<Key> user;
  std::shared_ptr<Key> machine;
  std::uint64_t userGeneration = 0;
  std::uint64_t machineGeneration = 0;
  bool valid = false;
  std::vector<const std::string*> names;
  std::uint32_t maxNameLength = 0;

  void Refresh(const std::shared_ptr<Key>& userKey,
               const std::shared_ptr<Key>& machineKey) {
    if (valid && user == userKey && machine == machineKey &&
        (!user || user->childGeneration == userGeneration) &&
        (!machine || machine->childGeneration == machineGeneration)) {
      return;
    }
    user = userKey;
    machine = machineKey;
    userGeneration = user ? user->childGeneration : 0;
    machineGeneration = machine ? machine->childGeneration : 0;
    names.clear();
    maxNameLength = 0;
    static const Key::Children kNone;
    const Key::Children& a = user ? user->children : kNone;
    const Key::Children& b = machine ? machine->children : kNone;
    auto ia = a.begin();
    auto ib = b.begin();
    while (ia != a.end() || ib != b.end()) {
      const Key::Children::value_type* next;
      if (ib == b.end() || (ia != a.end() && ia->first <= ib->first)) {
        if (ib != b.end() && ia->first == ib->first) ++ib;
        next = &*ia++;
      } else {
        next = &*ib++;
      }
      names.push_back(&next->second->name);
      maxNameLength = std::max(maxNameLength,
                               static_cast<std::uint32_t>(next->first.size()));
    }
    valid = true;
  }
};

struct OpenedKey {
  // The key the handle is bound to; empty only for a handle to the root of
  // HKEY_CLASSES_ROOT, which is looked up anew on every call.
  std::shared_ptr<Key> key;
  std::uint32_t access = 0;
  bool classes = false;
  std::vector<std::string> classesPath;  // below Software\Classes
  MergedNames merged;
};

void WriteEscaped(std::ostream& out, const std::string& name) {
  if (name.empty()) {
    out << '@';
    return;
  }
  out << '"';
  for (char c : name) {
    if (c == '\\' || c == '"') out << '\\';
    out << c;
  }
  out << '"';
}

void WriteHive(std::ostream& out, Key& key, const std::string& path) {
  out << '[' << path << "]\n";
  static const char kDigits[] = "0123456789abcdef";
  for (const Value& value : key.values) {
    WriteEscaped(out, value.name);
    out << "=hex(" << std::hex << value.type << std::dec << "):";
    for (std::size_t i = 0; i < value.data.size(); ++i) {
      if (i) out << ',';
      out << kDigits[value.data[i] >> 4] << kDigits[value.data[i] & 15];
    }
    out << '\n';
  }
  for (const auto& entry : key.children) {
    const std::string& name = entry.second->name;
    WriteHive(out, *entry.second, path.empty() ? name : path + '\\' + name);
  }
}

}  // namespace

struct MemoryRegistryStore::State {
  std::shared_ptr<Key> machine = std::make_shared<Key>();
  std::shared_ptr<Key> users = std::make_shared<Key>();
  std::shared_ptr<Key> currentUser;
  // Software\Classes of both, looked into by every HKEY_CLASSES_ROOT call.
  // Like the roots they can never be deleted.
  std::shared_ptr<Key> userClasses;
  std::shared_ptr<Key> machineClasses;
  std::unordered_map<KeyHandle, OpenedKey> handles;
  KeyHandle nextHandle = 1;
  MergedNames classesRootNames;
  std::vector<ReplaceRequest> replaceRequests;
  std::vector<KeyHandle> flushRequests;
  bool seenBy32BitProgram = false;

  State() {
    machine->permanent = true;
    users->permanent = true;
    currentUser = users->AddChild(kCurrentUserSid);
    currentUser->permanent = true;
    for (const auto& [root, software] :
         {std::pair{machine, "SOFTWARE"}, std::pair{currentUser, "Software"}}) {
      std::shared_ptr<Key> key = root->AddChild(software);
      key->permanent = true;
      key->AddChild("Classes")->permanent = true;
    }
    userClasses = Walk(currentUser, ClassesPath());
    machineClasses = Walk(machine, ClassesPath());
  }

  static inline const std::vector<std::string> kNoPath;

  // What one handle stands for during one call.
  struct View {
    // Values and, outside HKEY_CLASSES_ROOT, subkeys. Never empty: the
    // Classes keys cannot be deleted.
    std::shared_ptr<Key> key;
    bool classes = false;
    // The opened key's own path, not a copy: a class check reads through
    // such handles hundreds of thousands of times.
    const std::vector<std::string>* classesPath = &kNoPath;
    OpenedKey* opened = nullptr;  // null for a root handle
  };

  std::shared_ptr<Key> UserClasses(const std::vector<std::string>& path) {
    return Walk(userClasses, path);
  }
  std::shared_ptr<Key> MachineClasses(const std::vector<std::string>& path) {
    return Walk(machineClasses, path);
  }
  // The key a classes path names: the user's when it exists, else the
  // machine's.
  std::shared_ptr<Key> ClassesKey(const std::vector<std::string>& path) {
    std::shared_ptr<Key> user = UserClasses(path);
    return user ? user : MachineClasses(path);
  }

  // A path below HKEY_CLASSES_ROOT in the 32-bit view: a first name that
  // the classes' Wow6432Node holds is taken from there, any other is shared.
  std::vector<std::string> ClassesPathView32(std::vector<std::string> path) {
    if (path.empty() || NamesEqual(path.front(), kWow6432Node)) return path;
    if (ClassesKey({kWow6432Node, path.front()})) {
      path.insert(path.begin(), kWow6432Node);
    }
    return path;
  }

  long Resolve(KeyHandle handle, std::uint32_t required, View* view) {
    if (IsRootHandle(handle)) {
      switch (static_cast<TRootKey>(handle)) {
        case TRootKey::LocalMachine:
          view->key = machine;
          break;
        case TRootKey::Users:
          view->key = users;
          break;
        case TRootKey::CurrentUser:
          view->key = currentUser;
          break;
        case TRootKey::ClassesRoot:
          view->classes = true;
          view->key = ClassesKey({});
          break;
      }
      return regerr::Success;
    }
    auto it = handles.find(handle);
    if (it == handles.end()) return regerr::InvalidHandle;
    OpenedKey& opened = it->second;
    if ((opened.access & required) != required) return regerr::AccessDenied;
    if (opened.key && opened.key->deleted) return regerr::KeyDeleted;
    view->classes = opened.classes;
    view->classesPath = &opened.classesPath;
    view->opened = &opened;
    view->key = opened.key ? opened.key : ClassesKey({});
    return regerr::Success;
  }

  MergedNames& MergedFor(View& view) {
    MergedNames& merged =
        view.opened ? view.opened->merged : classesRootNames;
    merged.Refresh(UserClasses(*view.classesPath),
                   MachineClasses(*view.classesPath));
    return merged;
  }

  KeyHandle Hand(OpenedKey opened) {
    KeyHandle handle = nextHandle++;
    while (IsRootHandle(handle) || handle == kNoKey) handle = nextHandle++;
    handles.emplace(handle, std::move(opened));
    return handle;
  }

  static std::vector<std::string> Joined(std::vector<std::string> head,
                                         const std::vector<std::string>& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
  }
};

MemoryRegistryStore::MemoryRegistryStore() : state_(std::make_unique<State>()) {}

MemoryRegistryStore::~MemoryRegistryStore() = default;

long MemoryRegistryStore::OpenKey(KeyHandle base, const std::string& subKey,
                                  std::uint32_t access, KeyHandle* result) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!result) return regerr::InvalidParameter;
  *result = kNoKey;
  State::View view;
  if (long rc = state_->Resolve(base, 0, &view)) return rc;
  std::vector<std::string> parts;
  if (long rc = SplitPath(subKey, &parts)) return rc;

  const bool view32 =
      (access & access::Wow64Key32) != 0 ||
      (state_->seenBy32BitProgram && (access & access::Wow64Key64) == 0);
  OpenedKey opened;
  opened.access = GrantedRights(access);
  if (view.classes) {
    opened.classes = true;
    opened.classesPath = State::Joined(*view.classesPath, parts);
    if (view32 && view.classesPath->empty()) {
      opened.classesPath = state_->ClassesPathView32(opened.classesPath);
    }
    if (parts.empty()) {
      opened.key = view.opened ? view.opened->key : nullptr;
    } else {
      opened.key = state_->ClassesKey(opened.classesPath);
      if (!opened.key) return regerr::FileNotFound;
    }
  } else {
    opened.key = view32 ? WalkView32(view.key, parts) : Walk(view.key, parts);
    if (!opened.key) return regerr::FileNotFound;
  }
  *result = state_->Hand(std::move(opened));
  return regerr::Success;
}

long MemoryRegistryStore::CreateKey(KeyHandle base, const std::string& subKey,
                                    std::uint32_t access, KeyHandle* result) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!result) return regerr::InvalidParameter;
  *result = kNoKey;
  State::View view;
  if (long rc = state_->Resolve(base, 0, &view)) return rc;
  std::vector<std::string> parts;
  if (long rc = SplitPath(subKey, &parts)) return rc;

  // No right is asked of the base handle: Windows checks creation against the
  // parent key's security descriptor, which here grants everything.
  OpenedKey opened;
  opened.access = GrantedRights(access);
  if (view.classes) {
    opened.classes = true;
    opened.classesPath = State::Joined(*view.classesPath, parts);
    if (parts.empty()) {
      opened.key = view.opened ? view.opened->key : nullptr;
    } else {
      opened.key = state_->ClassesKey(opened.classesPath);
      if (!opened.key) {
        opened.key = WalkOrCreate(
            state_->machineClasses, opened.classesPath);
      }
    }
  } else {
    opened.key = WalkOrCreate(view.key, parts);
  }
  *result = state_->Hand(std::move(opened));
  return regerr::Success;
}

long MemoryRegistryStore::CloseKey(KeyHandle key) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (IsRootHandle(key)) return regerr::Success;
  return state_->handles.erase(key) ? regerr::Success : regerr::InvalidHandle;
}

long MemoryRegistryStore::QueryInfoKey(KeyHandle key, KeyInfo* info) {
  std::lock_guard<std::mutex> lock(mutex_);
  State::View view;
  if (long rc = state_->Resolve(key, access::QueryValue, &view)) return rc;
  if (!info) return regerr::InvalidParameter;
  *info = view.key ? view.key->Info() : KeyInfo{};
  if (view.classes) {
    const MergedNames& merged = state_->MergedFor(view);
    info->subKeyCount = static_cast<std::uint32_t>(merged.names.size());
    info->maxSubKeyNameLength = merged.maxNameLength;
  }
  return regerr::Success;
}

long MemoryRegistryStore::EnumKey(KeyHandle key, std::uint32_t index,
                                  std::string* name) {
  std::lock_guard<std::mutex> lock(mutex_);
  State::View view;
  if (long rc = state_->Resolve(key, access::EnumerateSubKeys, &view))
    return rc;
  if (!name) return regerr::InvalidParameter;
  const std::string* found = nullptr;
  if (view.classes) {
    const MergedNames& merged = state_->MergedFor(view);
    if (index < merged.names.size()) found = merged.names[index];
  } else {
    found = view.key->ChildNameAt(index);
  }
  if (!found) return regerr::NoMoreItems;
  *name = *found;
  return regerr::Success;
}

long MemoryRegistryStore::EnumValue(KeyHandle key, std::uint32_t index,
                                    std::string* name) {
  std::lock_guard<std::mutex> lock(mutex_);
  State::View view;
  if (long rc = state_->Resolve(key, access::QueryValue, &view)) return rc;
  if (!name) return regerr::InvalidParameter;
  if (!view.key || index >= view.key->values.size())
    return regerr::NoMoreItems;
  *name = view.key->values[index].name;
  return regerr::Success;
}

long MemoryRegistryStore::EnumValueData(KeyHandle key, std::uint32_t index,
                                        std::string* name, std::uint32_t* type,
                                        std::vector<std::uint8_t>* data) {
  std::lock_guard<std::mutex> lock(mutex_);
  State::View view;
  if (long rc = state_->Resolve(key, access::QueryValue, &view)) return rc;
  if (!name) return regerr::InvalidParameter;
  if (!view.key || index >= view.key->values.size())
    return regerr::NoMoreItems;
  const Value& value = view.key->values[index];
  *name = value.name;
  if (type) *type = value.type;
  if (data) *data = value.data;
  return regerr::Success;
}

long MemoryRegistryStore::QueryValue(KeyHandle key, const std::string& name,
                                     std::uint32_t* type,
                                     std::vector<std::uint8_t>* data) {
  std::lock_guard<std::mutex> lock(mutex_);
  State::View view;
  if (long rc = state_->Resolve(key, access::QueryValue, &view)) return rc;
  const int found = view.key ? view.key->FindValue(name) : -1;
  if (found < 0) return regerr::FileNotFound;
  const Value& value = view.key->values[static_cast<std::size_t>(found)];
  if (type) *type = value.type;
  if (data) *data = value.data;
  return regerr::Success;
}

long MemoryRegistryStore::SetValue(KeyHandle key, const std::string& name,
                                   std::uint32_t type,
                                   const std::uint8_t* data, std::size_t size) {
  std::lock_guard<std::mutex> lock(mutex_);
  State::View view;
  if (long rc = state_->Resolve(key, access::SetValue, &view)) return rc;
  if (Utf16Length(name) > kMaxValueNameLength) return regerr::InvalidParameter;
  if (!data && size > 0) return regerr::InvalidParameter;
  view.key->SetValue(name, type, data, size);
  return regerr::Success;
}

long MemoryRegistryStore::DeleteValue(KeyHandle key, const std::string& name) {
  std::lock_guard<std::mutex> lock(mutex_);
  State::View view;
  if (long rc = state_->Resolve(key, access::SetValue, &view)) return rc;
  const int found = view.key ? view.key->FindValue(name) : -1;
  if (found < 0) return regerr::FileNotFound;
  view.key->EraseValue(static_cast<std::size_t>(found));
  return regerr::Success;
}

long MemoryRegistryStore::DeleteKey(KeyHandle base, const std::string& subKey) {
  std::lock_guard<std::mutex> lock(mutex_);
  State::View view;
  if (long rc = state_->Resolve(base, 0, &view)) return rc;
  std::vector<std::string> parts;
  if (long rc = SplitPath(subKey, &parts)) return rc;

  std::shared_ptr<Key> target;
  if (view.classes) {
    if (parts.empty() && !(view.opened && view.opened->key))
      return regerr::AccessDenied;  // HKEY_CLASSES_ROOT itself
    target = parts.empty()
                 ? view.opened->key
                 : state_->ClassesKey(State::Joined(*view.classesPath, parts));
  } else {
    target = Walk(view.key, parts);
  }
  if (!target) return regerr::FileNotFound;
  if (target->permanent || !target->parent) return regerr::AccessDenied;
  if (!target->children.empty()) return regerr::AccessDenied;
  target->parent->RemoveChild(*target);
  return regerr::Success;
}

long MemoryRegistryStore::FlushKey(KeyHandle key) {
  std::lock_guard<std::mutex> lock(mutex_);
  State::View view;
  if (long rc = state_->Resolve(key, 0, &view)) return rc;
  state_->flushRequests.push_back(key);
  return regerr::Success;
}

long MemoryRegistryStore::SaveKey(KeyHandle key, const std::string& fileName) {
  std::lock_guard<std::mutex> lock(mutex_);
  State::View view;
  if (long rc = state_->Resolve(key, 0, &view)) return rc;
  if (!view.key) return regerr::FileNotFound;
  const std::filesystem::path path(fileName);
  std::error_code error;
  if (std::filesystem::exists(path, error)) return regerr::AlreadyExists;
  std::ofstream out(path, std::ios::binary);
  if (!out) return kPathNotFound;
  out << "Tidewell memory hive\n";
  WriteHive(out, *view.key, "");
  out.close();
  return out ? regerr::Success : regerr::AccessDenied;
}

long MemoryRegistryStore::ReplaceKey(KeyHandle key, const std::string& subKey,
                                     const std::string& newFile,
                                     const std::string& oldFile) {
  std::lock_guard<std::mutex> lock(mutex_);
  State::View view;
  if (long rc = state_->Resolve(key, 0, &view)) return rc;
  std::vector<std::string> parts;
  long result = SplitPath(subKey, &parts);
  if (result == regerr::Success) {
    const bool exists =
        view.classes
            ? state_->ClassesKey(State::Joined(*view.classesPath, parts)) !=
                  nullptr
            : Walk(view.key, parts) != nullptr;
    result = exists ? regerr::Success : regerr::FileNotFound;
  }
  state_->replaceRequests.push_back({key, subKey, newFile, oldFile, result});
  return result;
}

std::vector<MemoryRegistryStore::ReplaceRequest>
MemoryRegistryStore::ReplaceRequests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return state_->replaceRequests;
}

std::vector<KeyHandle> MemoryRegistryStore::FlushRequests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return state_->flushRequests;
}

void MemoryRegistryStore::SetSeenBy32BitProgram(bool seen) {
  std::lock_guard<std::mutex> lock(mutex_);
  state_->seenBy32BitProgram = seen;
}

std::size_t MemoryRegistryStore::OpenHandleCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return state_->handles.size();
}

}  // namespace tidewell
