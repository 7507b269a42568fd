#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/entry_source.h"

struct Diagnostic {
    std::string file;
    int32_t index = -1;
    std::string name;
    std::string field;
    std::string message;
    bool error = true;
};

// "file: entry 3 (蕪): field taste: message", with "warning:" for warnings.
std::string formatDiagnostic(const Diagnostic& d);

struct SourceFile {
    std::string path;
    EntrySource entry;  // UTF-8
};

// Reads one YAML entry file; problems are added to diagnostics.
SourceFile readEntryYaml(const std::string& path, std::vector<Diagnostic>& diagnostics);
std::string writeEntryYaml(const EntrySource& utf8Entry);

// Validates the entries and encodes them for the viewer: on success the result
// holds the scrambled data file and diagnostics only warnings; on any error it is empty.
std::string packEntries(const std::vector<SourceFile>& sources, std::vector<Diagnostic>& diagnostics);

// A scrambled data file back to UTF-8 entries, in file order.
std::vector<EntrySource> unpackEntries(const std::string& scrambled, std::vector<Diagnostic>& diagnostics);
