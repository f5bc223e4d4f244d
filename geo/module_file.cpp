// SPDX-License-Identifier: Apache-2.0
#include "module_file.h"

#include <elf.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <vector>

namespace valdris {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kBuiltWithAddressSanitizer = true;
#else
constexpr bool kBuiltWithAddressSanitizer = false;
#endif

#if defined(__x86_64__)
constexpr int kMachine = EM_X86_64;
#elif defined(__aarch64__)
constexpr int kMachine = EM_AARCH64;
#else
constexpr int kMachine = EM_NONE;  // not checked
#endif

template <typename T>
bool ReadAt(int fd, long long offset, T& value) {
    return pread(fd, &value, sizeof value, offset) == static_cast<ssize_t>(sizeof value);
}

bool Within(unsigned long long offset, unsigned long long length, long long size) {
    return offset <= static_cast<unsigned long long>(size) && length <= static_cast<unsigned long long>(size) - offset;
}

// The file offset of a virtual address, through the segment that loads it.
long long FileOffset(const std::vector<Elf64_Phdr>& segments, Elf64_Addr address) {
    for (const Elf64_Phdr& segment : segments) {
        if (segment.p_type == PT_LOAD && address >= segment.p_vaddr && address - segment.p_vaddr < segment.p_filesz) {
            return static_cast<long long>(segment.p_offset + (address - segment.p_vaddr));
        }
    }
    return -1;
}

// True when one of the libraries the module needs is a sanitizer runtime.
bool NeedsAddressSanitizer(int fd, const std::vector<Elf64_Phdr>& segments) {
    for (const Elf64_Phdr& segment : segments) {
        if (segment.p_type != PT_DYNAMIC) continue;
        std::vector<Elf64_Dyn> entries(segment.p_filesz / sizeof(Elf64_Dyn));
        const auto bytes = static_cast<ssize_t>(entries.size() * sizeof(Elf64_Dyn));
        if (pread(fd, entries.data(), static_cast<size_t>(bytes), static_cast<off_t>(segment.p_offset)) != bytes) {
            return false;
        }
        long long strings = -1;
        for (const Elf64_Dyn& entry : entries) {
            if (entry.d_tag == DT_STRTAB) strings = FileOffset(segments, entry.d_un.d_ptr);
        }
        if (strings < 0) return false;
        for (const Elf64_Dyn& entry : entries) {
            if (entry.d_tag != DT_NEEDED) continue;
            char name[16] = {};
            if (pread(fd, name, sizeof name - 1, strings + static_cast<long long>(entry.d_un.d_val)) <= 0) continue;
            if (std::strncmp(name, "libasan", 7) == 0) return true;
        }
    }
    return false;
}

std::string ElfProblem(int fd, long long size) {
    Elf64_Ehdr header{};
    if (!ReadAt(fd, 0, header) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_type != ET_DYN) {
        return "it is not a shared object";
    }
    if (kMachine != EM_NONE && header.e_machine != kMachine) return "it is built for another kind of machine";
    if (header.e_phentsize != sizeof(Elf64_Phdr) ||
        !Within(header.e_phoff, static_cast<unsigned long long>(header.e_phnum) * sizeof(Elf64_Phdr), size) ||
        !Within(header.e_shoff, static_cast<unsigned long long>(header.e_shnum) * header.e_shentsize, size)) {
        return "it is damaged (cut short)";
    }
    std::vector<Elf64_Phdr> segments(header.e_phnum);
    for (std::size_t i = 0; i < segments.size(); ++i) {
        if (!ReadAt(fd, static_cast<long long>(header.e_phoff + i * sizeof(Elf64_Phdr)), segments[i])) {
            return "it is damaged (cut short)";
        }
        if (segments[i].p_type == PT_LOAD && !Within(segments[i].p_offset, segments[i].p_filesz, size)) {
            return "it is damaged (cut short)";
        }
    }
    if (NeedsAddressSanitizer(fd, segments) != kBuiltWithAddressSanitizer) {
        return "it belongs to another build of the program";
    }
    return {};
}

// Who besides the user may change what the module is.
std::string WriterProblem(const struct stat& status, const std::string& what) {
    if ((status.st_mode & (S_IWGRP | S_IWOTH)) != 0) return "group or others may change " + what;
    if (geteuid() == 0 && status.st_uid != 0) return what + " belongs to another user";
    return {};
}

}  // namespace

std::string ModuleFolderProblem(const std::string& folder) {
    struct stat status {};
    if (stat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) return "its folder cannot be examined";
    return WriterProblem(status, "its folder");
}

std::string ModuleFileProblem(int fd) {
    struct stat status {};
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) return "it is not a regular file";
    if (std::string problem = WriterProblem(status, "it"); !problem.empty()) return problem;
    if (status.st_size > kLargestModule) return "it is far too large to be a module of this program";
    return ElfProblem(fd, status.st_size);
}

}  // namespace valdris
