#include "app/program_image.h"

#include <windows.h>

#include <atomic>

#include "platform/base/own_module.h"

// Until the imports are bound nothing here may call an imported function, nor let the
// compiler call one (memcpy, memset): the file is built without builtins and without loops
// turned into such calls (CMakeLists.txt), keeps its buffers on the stack and allocates
// nothing. The kernel's functions are found through the process's list of loaded modules.

#if defined(__i386__)

extern "C" void __main(void);                     // the C++ constructors; runs once
extern "C" void _pei386_runtime_relocator(void);  // MinGW's pseudo-relocations; runs once

namespace {

enum ImageState { kUnprepared, kPreparing, kReady, kUnusable };
std::atomic<int> imageState{kUnprepared};

// True when the code runs where it was linked to, or was relocated to where it runs: a
// label's absolute address, as the relocations left it, against where the label really is.
__attribute__((noinline)) bool AtLinkedAddress() {
  unsigned offset;
  asm volatile("call 1f\n1:\tpopl %0\n\tsubl $1b, %0" : "=r"(offset));
  return offset == 0;
}

// The start of the loader's record of a module in a 32-bit process.
struct ListEntry {
  ListEntry* next;
  ListEntry* previous;
};
struct CountedName {
  USHORT bytes;
  USHORT room;
  const wchar_t* text;
};
struct LoadedModule {
  ListEntry loadOrder, memoryOrder, initOrder;
  unsigned char* base;
  void* entryPoint;
  ULONG imageSize;
  CountedName fullName, baseName;
};

wchar_t Lower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c; }

// The module's file name is name[0, length), with or without ".dll", in any case.
bool NamedAs(const CountedName& file, const char* name, unsigned length) {
  static const char kDll[] = ".dll";
  const unsigned count = file.bytes / sizeof(wchar_t);
  if (count != length && count != length + 4) return false;
  for (unsigned i = 0; i < count; ++i) {
    const char c = i < length ? name[i] : kDll[i - length];
    if (Lower(file.text[i]) != Lower(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

unsigned char* FindLoadedModule(const char* name, unsigned length) {
  unsigned char* peb;  // the process environment block, from the thread's own block
  asm("movl %%fs:0x30, %0" : "=r"(peb));
  auto* loaderData = *reinterpret_cast<unsigned char**>(peb + 0x0C);
  auto* head = reinterpret_cast<ListEntry*>(loaderData + 0x0C);  // in load order
  for (ListEntry* e = head->next; e && e != head; e = e->next) {
    const auto* module = reinterpret_cast<const LoadedModule*>(e);
    if (module->baseName.text && NamedAs(module->baseName, name, length)) return module->base;
  }
  return nullptr;
}

IMAGE_NT_HEADERS32* Headers(unsigned char* base) {
  return reinterpret_cast<IMAGE_NT_HEADERS32*>(
      base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
}

bool SameText(const char* a, const char* b) {
  while (*a && *a == *b) ++a, ++b;
  return *a == *b;
}

// A function that the module exports by name, following a forward to another loaded module.
FARPROC FindExport(unsigned char* base, const char* name, int forwards) {
  const IMAGE_DATA_DIRECTORY& dir =
      Headers(base)->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  if (dir.Size == 0) return nullptr;
  const auto* exports = reinterpret_cast<IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
  const auto* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
  const auto* ordinals = reinterpret_cast<const WORD*>(base + exports->AddressOfNameOrdinals);
  const auto* functions = reinterpret_cast<const DWORD*>(base + exports->AddressOfFunctions);
  for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
    if (!SameText(reinterpret_cast<const char*>(base + names[i]), name)) continue;
    const DWORD rva = functions[ordinals[i]];
    if (rva < dir.VirtualAddress || rva >= dir.VirtualAddress + dir.Size)
      return reinterpret_cast<FARPROC>(base + rva);
    // A forward, "MODULE.Function".
    const char* forward = reinterpret_cast<const char*>(base + rva);
    unsigned dot = 0;
    while (forward[dot] && forward[dot] != '.') ++dot;
    if (!forward[dot] || forwards > 2) return nullptr;
    unsigned char* target = FindLoadedModule(forward, dot);
    return target ? FindExport(target, forward + dot + 1, forwards + 1) : nullptr;
  }
  return nullptr;
}

template <typename Function>
Function As(FARPROC address) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

struct Kernel {
  decltype(&GetProcAddress) getProcAddress = nullptr;
  decltype(&LoadLibraryA) loadLibrary = nullptr;
  decltype(&LoadLibraryExA) loadLibraryEx = nullptr;
  decltype(&VirtualProtect) virtualProtect = nullptr;
  decltype(&GetModuleFileNameA) getModuleFileName = nullptr;
};

bool FindKernel(Kernel& k) {
  static const char kKernel32[] = "kernel32";
  auto* kernel = FindLoadedModule(kKernel32, sizeof kKernel32 - 1);
  if (!kernel) return false;
  k.getProcAddress = As<decltype(&GetProcAddress)>(FindExport(kernel, "GetProcAddress", 0));
  if (!k.getProcAddress) return false;
  auto* module = reinterpret_cast<HMODULE>(kernel);
  k.loadLibrary = As<decltype(&LoadLibraryA)>(k.getProcAddress(module, "LoadLibraryA"));
  k.loadLibraryEx = As<decltype(&LoadLibraryExA)>(k.getProcAddress(module, "LoadLibraryExA"));
  k.virtualProtect = As<decltype(&VirtualProtect)>(k.getProcAddress(module, "VirtualProtect"));
  k.getModuleFileName =
      As<decltype(&GetModuleFileNameA)>(k.getProcAddress(module, "GetModuleFileNameA"));
  return k.loadLibrary && k.loadLibraryEx && k.virtualProtect && k.getModuleFileName;
}

// The program's image, as memory to walk (not as the one header the linker's symbol names).
unsigned char* Image() {
  auto* image = reinterpret_cast<unsigned char*>(OwnModule());
  asm("" : "+r"(image));
  return image;
}

IMAGE_IMPORT_DESCRIPTOR* FirstImport() {
  const IMAGE_DATA_DIRECTORY& dir =
      Headers(Image())->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  return dir.Size ? reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(Image() + dir.VirtualAddress)
                  : nullptr;
}

// An import slot still holds what its name entry holds until the loader binds it.
bool Bound(const IMAGE_IMPORT_DESCRIPTOR& d) {
  if (!d.OriginalFirstThunk) return true;  // nothing to compare with (our linker always writes it)
  const auto* names =
      reinterpret_cast<const IMAGE_THUNK_DATA32*>(Image() + d.OriginalFirstThunk);
  const auto* slots = reinterpret_cast<const IMAGE_THUNK_DATA32*>(Image() + d.FirstThunk);
  for (; names->u1.AddressOfData; ++names, ++slots)
    if (slots->u1.Function == names->u1.AddressOfData) return false;
  return true;
}

// folder + name into path (room MAX_PATH); false when it does not fit.
bool JoinPath(const char* folder, unsigned folderLength, const char* name, char* path) {
  unsigned n = 0;
  for (unsigned i = 0; i < folderLength; ++i) path[n++] = folder[i];
  for (; *name; ++name) {
    if (n + 1 >= MAX_PATH) return false;
    path[n++] = *name;
  }
  path[n] = '\0';
  return true;
}

// A library of the program: the system's copy, else the one beside the program (the loader
// would have looked there first for a program started as one), else wherever the host finds it.
HMODULE LoadImportedLibrary(const Kernel& k, const char* folder, unsigned folderLength,
                            const char* name) {
  if (HMODULE dll = k.loadLibraryEx(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return dll;
  char path[MAX_PATH];
  if (folderLength && JoinPath(folder, folderLength, name, path))
    if (HMODULE dll = k.loadLibraryEx(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)) return dll;
  return k.loadLibrary(name);
}

bool BindDescriptor(const Kernel& k, const char* folder, unsigned folderLength,
                    const IMAGE_IMPORT_DESCRIPTOR& d) {
  unsigned char* image = Image();
  const char* name = reinterpret_cast<const char*>(image + d.Name);
  HMODULE dll = LoadImportedLibrary(k, folder, folderLength, name);
  if (!dll) return false;
  const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA32*>(image + d.OriginalFirstThunk);
  auto* slots = reinterpret_cast<IMAGE_THUNK_DATA32*>(image + d.FirstThunk);
  DWORD count = 0;
  while (names[count].u1.AddressOfData) ++count;
  DWORD old = 0;
  if (!k.virtualProtect(slots, count * sizeof *slots, PAGE_READWRITE, &old)) return false;
  bool ok = true;
  for (DWORD i = 0; ok && i < count; ++i) {
    if (slots[i].u1.Function != names[i].u1.AddressOfData) continue;
    const DWORD entry = names[i].u1.Ordinal;
    const char* function =
        IMAGE_SNAP_BY_ORDINAL32(entry)
            ? reinterpret_cast<const char*>(static_cast<ULONG_PTR>(IMAGE_ORDINAL32(entry)))
            : reinterpret_cast<const char*>(
                  reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(image + entry)->Name);
    const FARPROC address = k.getProcAddress(dll, function);
    if (address)
      slots[i].u1.Function = reinterpret_cast<DWORD>(address);
    else
      ok = false;
  }
  k.virtualProtect(slots, count * sizeof *slots, old, &old);
  return ok;
}

bool BindImports() {
  IMAGE_IMPORT_DESCRIPTOR* first = FirstImport();
  bool bound = true;
  for (auto* d = first; d && d->Name; ++d) bound = bound && Bound(*d);
  if (bound) return true;  // the program as it runs by itself: the loader has done it all

  Kernel k;
  if (!FindKernel(k)) return false;
  char file[MAX_PATH];
  DWORD n = k.getModuleFileName(OwnModule(), file, MAX_PATH);
  if (n >= MAX_PATH) n = 0;
  while (n > 0 && file[n - 1] != '\\') --n;  // keeps the folder with its backslash
  for (auto* d = first; d->Name; ++d)
    if (!Bound(*d) && !BindDescriptor(k, file, n, *d)) return false;
  return true;
}

}  // namespace

bool PrepareProgramImage() {
  if (!AtLinkedAddress()) return false;  // before anything that reads or writes memory here
  int expected = kUnprepared;
  if (imageState.compare_exchange_strong(expected, kPreparing)) {
    const bool ok = BindImports();
    if (ok) {
      _pei386_runtime_relocator();
      __main();
    }
    imageState = ok ? kReady : kUnusable;
    return ok;
  }
  while (imageState.load() == kPreparing) __builtin_ia32_pause();  // another thread is at it
  return imageState.load() == kReady;
}

#else

// The 64-bit build (the test build for machines that run no 32-bit code) binds nothing: it
// runs as the program itself, and a host that loads it gets a no. The process's own image,
// read from its environment block, says which: the loader's record needs no import.
bool PrepareProgramImage() {
  const auto* peb = reinterpret_cast<const unsigned char*>(__readgsqword(0x60));
  return *reinterpret_cast<void* const*>(peb + 0x10) == OwnModule();
}

#endif
