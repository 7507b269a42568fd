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

// "file: entry 3 (蕪): field taste: message", with "warning:" for warnings;
// without a file (a problem of several entries) it starts at "warning:".
std::string formatDiagnostic(const Diagnostic& d);

struct SourceFile {
    std::string path;
    EntrySource entry;  // UTF-8
};

// Reads one YAML entry file; problems are added to diagnostics.
SourceFile readEntryYaml(const std::string& path, std::vector<Diagnostic>& diagnostics);
std::string writeEntryYaml(const EntrySource& utf8Entry);

// One row of the style list (content/style.tsv): a variant the book does not
// use, what to write instead, and any longer forms in which the variant is
// right (風邪 is wrong, 風邪（ふうじゃ） is the term).
struct StyleRule {
    std::string variant;
    std::string replacement;
    std::vector<std::string> allowedForms;
};

// The style list's rows: tab-separated columns, # starts a comment line.
// Problems are added to diagnostics under `path`.
std::vector<StyleRule> parseStyleRules(const std::string& text, const std::string& path,
                                       std::vector<Diagnostic>& diagnostics);
std::vector<StyleRule> readStyleRules(const std::string& path, std::vector<Diagnostic>& diagnostics);

// Validates the entries and encodes them for the viewer: on success the result
// holds the scrambled data file and diagnostics only warnings; on any error it is empty.
// Besides what the data file cannot hold, the errors are the texts that do not
// fit where the screen draws them, the style list's variants and the cautions
// the style sheet demands (kidney, warfarin, infant, licorice); the warnings
// what looks wrong on screen and phrases more than two entries share.
std::string packEntries(const std::vector<SourceFile>& sources, std::vector<Diagnostic>& diagnostics,
                        const std::vector<StyleRule>& style = {});

// A scrambled data file back to UTF-8 entries, in file order.
std::vector<EntrySource> unpackEntries(const std::string& scrambled, std::vector<Diagnostic>& diagnostics);
