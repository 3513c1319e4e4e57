#include "base/AtomicFile.h"
#include "base/Errors.h"
#include "cli/Commands.h"
#include "cli/Gr33Cli.h"
#include "cli/PatchSource.h"
#include "gr33/PatchDump.h"
#include "gr33/PatchNumber.h"
#include "gr33/TextForm.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace {

// A name as text, the way the dump shows it: a control byte in a file never reaches the terminal.
std::string listedName(const TPatch& patch) {
    return patch.IsEmpty() ? patch.GetName() : NameToText(patch.Bytes());
}

} // namespace

int ListCommand(const CliArguments& args, CliContext& context) {
    auto source = ParsePatchSource(args.positional[0]);
    if (source.kind == FileKind::Collection && !source.slot) {
        auto slots = std::make_unique<std::array<TPatch, 128>>();
        LoadCollection(source.file, *slots);
        for (int n = 1; n <= PatchCount; ++n)
            context.out << PatchLabel(n) << ": " << listedName((*slots)[n - 1]) << "\n";
        return ExitOk;
    }
    TPatch patch;
    int number = LoadPatch(source, patch);
    context.out << PatchLabel(number) << ": " << listedName(patch) << "\n";
    return ExitOk;
}

int DumpCommand(const CliArguments& args, CliContext& context) {
    TPatch patch;
    LoadPatch(ParsePatchSource(args.positional[0]), patch);
    for (const auto& line : DumpPatch(patch))
        context.out << FormatDumpLine(line) << "\n";
    return ExitOk;
}

int DiffCommand(const CliArguments& args, CliContext& context) {
    // Any trouble is exit status 2 here, since 1 means "the patches differ".
    try {
        TPatch a, b;
        LoadPatch(ParsePatchSource(args.positional[0]), a);
        LoadPatch(ParsePatchSource(args.positional[1]), b);
        const auto lines = DiffLines(a.Bytes(), b.Bytes());
        for (const auto& line : lines)
            context.out << line << "\n";
        return lines.empty() ? ExitOk : ExitDataError;
    } catch (const EKelvoError& e) {
        context.err << MessageText(e.what()) << "\n";
        return ExitUsageError;
    }
}

int ExportTextCommand(const CliArguments& args, CliContext& context) {
    TPatch patch;
    int number = LoadPatch(ParsePatchSource(args.positional[0]), patch);
    patch.CheckNotEmpty(number);
    std::vector<std::string> lines;
    patch.ExportText(lines);
    for (const auto& line : lines)
        context.out << line << "\n";
    return ExitOk;
}

int ImportTextCommand(const CliArguments& args, CliContext& context) {
    auto output = args.Value("-o");
    if (!output) throw EUsage("import-text needs -o OUT.P33");
    ExpectOutputKind(*output, FileKind::SinglePatch);
    auto lines = ReadTextLines(args.positional[0]);
    TPatch patch;
    const TextImport result = patch.ImportText(lines);
    if (result != TextImport::Imported) {
        context.err << TextImportMessage(result) << "\n";
        return ExitDataError;
    }
    patch.SaveToFile(*output, TempPatchNumber);
    return ExitOk;
}

int ExtractCommand(const CliArguments& args, CliContext& context) {
    auto output = args.Value("-o");
    if (!output) throw EUsage("extract needs -o OUT.P33");
    ExpectOutputKind(*output, FileKind::SinglePatch);
    auto source = ParsePatchSource(args.positional[0]);
    if (source.kind != FileKind::Collection || !source.slot)
        throw EUsage("extract takes one slot of a collection: FILE.G33:LABEL");
    TPatch patch;
    int number = LoadPatch(source, patch);
    patch.SaveToFile(*output, number);
    (void)context;
    return ExitOk;
}
