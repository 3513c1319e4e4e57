// gr33 library ...: the patch library (library/Library.h) from the command line.
#include "cli/LibraryCommands.h"

#include "base/Errors.h"
#include "base/FileRead.h"
#include "cli/Commands.h"
#include "cli/Gr33Cli.h"
#include "cli/Interrupt.h"
#include "cli/PatchSource.h"
#include "gr33/Catalogue.h"
#include "gr33/CollectionFile.h"
#include "gr33/PatchDump.h"
#include "gr33/PatchNumber.h"
#include "gr33/TextForm.h"
#include "library/Query.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <memory>

namespace {

std::unique_ptr<TPatchLibrary> openLibrary(const CliArguments& args) {
    return std::make_unique<TPatchLibrary>(
        args.Value("--library").value_or(TPatchLibrary::DefaultPath()));
}

std::string joined(const std::vector<std::string>& words, const char* separator) {
    std::string text;
    for (const auto& word : words)
        text += (text.empty() ? "" : separator) + word;
    return text;
}

std::string placeText(const Sighting& sighting) {
    return sighting.slot ? sighting.place + ":" + PatchLabel(sighting.slot) : sighting.place;
}

// ".G33" for "bank.g33".
std::string upperExtension(const std::string& file) {
    std::string extension = std::filesystem::path(file).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return extension;
}

// The patches of one file or text form, with their slots (0 for a single patch).
std::vector<SlotPatch> readPatches(const std::string& file, SightingKind& kind) {
    const auto extension = upperExtension(file);
    kind = SightingKind::File;
    std::vector<SlotPatch> patches;
    const bool sysEx = extension == ".SYX";
    if (extension == ".G33" || (sysEx && SysExFileKind(file) == FileKind::Collection)) {
        const auto slots = ReadCollectionFile(file);
        for (int n = 1; n <= PatchCount; ++n)
            patches.push_back({n, slots[n - 1]});
        return patches;
    }
    TPatch patch;
    if (extension == ".P33" || sysEx) {
        patch.LoadFromFile(file);
    } else {
        kind = SightingKind::Text;
        const TextImport result = patch.ImportText(ReadTextLines(file));
        if (result != TextImport::Imported) throw EKelvoError(TextImportMessage(result));
    }
    patches.push_back({0, patch.Bytes()});
    return patches;
}

bool isPatchFile(const std::filesystem::path& path) {
    const auto extension = upperExtension(path.string());
    return extension == ".G33" || extension == ".P33" || extension == ".SYX" || extension == ".TXT";
}

// Adds a folder's patch and text files at any depth (links to folders are not followed). A
// folder that cannot be read goes to `unreadable` with the reason, and the others are still
// walked: one closed folder on a stick does not stop the import of the rest.
void collectFiles(const std::filesystem::path& folder, std::vector<std::string>& files,
                  std::vector<std::string>& unreadable) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::directory_iterator entry(folder, ec);
    for (; !ec && entry != fs::directory_iterator(); entry.increment(ec)) {
        std::error_code ignored;
        if (!entry->is_symlink(ignored) && entry->is_directory(ignored))
            collectFiles(entry->path(), files, unreadable);
        else if (entry->is_regular_file(ignored) && isPatchFile(entry->path()))
            files.push_back(entry->path().string());
    }
    if (ec) unreadable.push_back(FileErrorText("Unable to read", folder.string(), ec.value()));
}

// The files an argument stands for: itself, or a folder's patch and text files, in name order.
std::vector<std::string> filesOf(const std::string& argument,
                                 std::vector<std::string>& unreadable) {
    std::error_code ec;
    if (!std::filesystem::is_directory(argument, ec)) return {argument};
    std::vector<std::string> files;
    collectFiles(argument, files, unreadable);
    std::sort(files.begin(), files.end());
    return files;
}

int importCommand(const CliArguments& args, CliContext& context) {
    auto library = openLibrary(args);
    CatchInterrupt(); // each file is imported whole; Ctrl+C stops before the next one
    std::int64_t fresh = 0, known = 0, refused = 0;
    for (auto word = args.positional.begin() + 1; word != args.positional.end(); ++word) {
        std::vector<std::string> unreadable;
        const auto files = filesOf(*word, unreadable);
        for (const auto& reason : unreadable) {
            ++refused;
            context.err << MessageText(reason) << "\n";
        }
        for (const auto& file : files) {
            ThrowIfInterrupted();
            try {
                SightingKind kind;
                const auto patches = readPatches(file, kind);
                const std::int64_t before = library->PatchCount();
                const auto ids = library->Add(patches, {kind, file, NowMs()});
                const std::int64_t added = library->PatchCount() - before;
                fresh += added;
                known += std::count_if(ids.begin(), ids.end(), [](auto id) { return id; }) - added;
            } catch (const std::exception& e) {
                ++refused;
                context.err << file << ": " << MessageText(e.what()) << "\n";
            }
        }
    }
    context.out << fresh << " new, " << known << " already known, " << refused << " refused\n";
    return refused ? ExitDataError : ExitOk;
}

// The query of the words after the subcommand; a query error is a usage error.
template <typename Run> int withQuery(CliContext& context, Run run) {
    try {
        return run();
    } catch (const EQueryError& e) {
        context.err << e.what() << "\n";
        return ExitUsageError;
    }
}

std::string queryOf(const CliArguments& args) {
    return joined(std::vector<std::string>(args.positional.begin() + 1, args.positional.end()),
                  " ");
}

int findCommand(const CliArguments& args, CliContext& context) {
    auto library = openLibrary(args);
    return withQuery(context, [&] {
        for (const PatchSummary& patch : library->Search(queryOf(args))) {
            auto sightings = library->Sightings(patch.id);
            std::sort(sightings.begin(), sightings.end(),
                      [](const Sighting& a, const Sighting& b) { return a.when < b.when; });
            std::vector<std::string> places;
            for (const auto& sighting : sightings)
                if (std::find(places.begin(), places.end(), placeText(sighting)) == places.end())
                    places.push_back(placeText(sighting));
            const auto [tones, effect] = PatchSoundText(library->Bytes(patch.id));
            context.out << patch.name << " | " << tones << " | " << effect << " | "
                        << joined(library->Tags(patch.id), ", ") << " | "
                        << (sightings.empty() ? "" : LibraryTimeText(sightings.front().when))
                        << " | " << joined(places, ", ") << "\n";
        }
        return ExitOk;
    });
}

int historyCommand(const CliArguments& args, CliContext& context) {
    const auto slot = PatchNumberOfLabel(args.positional[1]);
    if (!slot || *slot == TempPatchNumber)
        throw EUsage("history takes a label (A11 .. D84): " + args.positional[1]);
    auto library = openLibrary(args);
    auto history = library->SlotHistory(*slot);
    for (auto entry = history.rbegin(); entry != history.rend(); ++entry)
        context.out << entry->snapshot << "  " << LibraryTimeText(entry->when) << "  "
                    << (entry->patch ? entry->name : "(empty)") << "\n";
    return ExitOk;
}

int snapshotsCommand(const CliArguments& args, CliContext& context) {
    auto library = openLibrary(args);
    for (const SnapshotInfo& snapshot : library->Snapshots()) {
        context.out << snapshot.id << "  " << LibraryTimeText(snapshot.when) << "  "
                    << snapshot.port << "  ";
        if (snapshot.Complete())
            context.out << "complete\n";
        else
            context.out << "incomplete (" << snapshot.received << "/" << PatchCount << ")\n";
    }
    return ExitOk;
}

bool isNumber(const std::string& text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

int exportCommand(const CliArguments& args, CliContext& context) {
    auto output = args.Value("-o");
    if (!output) throw EUsage("library export needs -o OUT.G33");
    ExpectOutputKind(*output, FileKind::Collection);
    auto library = openLibrary(args);
    const std::string what = queryOf(args);
    std::vector<PatchBytes> patches;
    if (isNumber(what)) {
        const auto known = library->Snapshots();
        if (std::none_of(known.begin(), known.end(),
                         [&](const SnapshotInfo& s) { return std::to_string(s.id) == what; }))
            throw EKelvoError("No snapshot " + what + " in the library");
        patches = library->RestoreSnapshot(std::stoll(what));
    } else {
        const int code = withQuery(context, [&] {
            for (const PatchSummary& patch : library->Search(what))
                patches.push_back(library->Bytes(patch.id));
            return ExitOk;
        });
        if (code != ExitOk) return code;
        // A query that finds nothing (a typing error, a tag not given yet) keeps the file there.
        if (patches.empty()) throw EKelvoError("No patch in the library matches " + what);
        if (patches.size() > PatchCount)
            throw EKelvoError(std::to_string(patches.size()) +
                              " patches match; a collection holds 128");
    }
    auto slots = std::make_unique<std::array<TPatch, PatchCount>>();
    std::array<const TPatch*, PatchCount> records;
    for (int n = 1; n <= PatchCount; ++n) {
        if (static_cast<std::size_t>(n) <= patches.size())
            (*slots)[n - 1].SetBytes(patches[n - 1], n);
        records[n - 1] = &(*slots)[n - 1];
    }
    WriteCollectionFile(*output, records);
    return ExitOk;
}

struct Subcommand {
    const char* name;
    std::size_t minWords, maxWords; // after the subcommand
    bool output;                    // takes -o
    int (*run)(const CliArguments&, CliContext&);
};

const Subcommand Subcommands[] = {
    {"import", 1, SIZE_MAX, false, importCommand}, {"find", 1, SIZE_MAX, false, findCommand},
    {"history", 1, 1, false, historyCommand},      {"snapshots", 0, 0, false, snapshotsCommand},
    {"export", 1, SIZE_MAX, true, exportCommand},
};

} // namespace

int LibraryCommand(const CliArguments& args, CliContext& context) {
    const std::string& name = args.positional[0];
    const auto* sub = std::find_if(std::begin(Subcommands), std::end(Subcommands),
                                   [&](const Subcommand& s) { return name == s.name; });
    if (sub == std::end(Subcommands))
        throw EUsage("library takes import, find, history, snapshots or export: " + name);
    const std::size_t words = args.positional.size() - 1;
    if (words < sub->minWords || words > sub->maxWords)
        throw EUsage("library " + name + ": wrong number of arguments");
    if (!sub->output && args.Value("-o")) throw EUsage("library " + name + " has no option -o");
    return sub->run(args, context);
}

std::unique_ptr<TPatchLibrary> OpenSnapshotLibrary(const CliArguments& args, CliContext& context) {
    try {
        return openLibrary(args);
    } catch (const std::exception& e) {
        context.err << "Warning: " << MessageText(e.what()) << "\n";
        return nullptr;
    }
}

std::int64_t RecordSnapshot(TPatchLibrary* library, const std::vector<PatchBytes>& received,
                            const std::string& port, CliContext& context) {
    if (!library || received.empty()) return 0;
    try {
        return library->AddSnapshot(received, port, NowMs());
    } catch (const std::exception& e) {
        context.err << "Warning: " << MessageText(e.what()) << "\n";
    }
    return 0;
}
