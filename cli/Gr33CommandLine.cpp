#include "cli/Gr33CommandLine.h"

#include "base/Version.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <memory>
#include <sstream>

const char* const Gr33Usage =
    "usage: gr33 COMMAND ...\n"
    "File commands (FILE is a .G33 collection, a .P33 single patch or a .syx file of either;\n"
    "FILE:LABEL is one slot of a collection, A11 .. D84):\n"
    "  gr33 list FILE\n"
    "  gr33 dump FILE[:LABEL]\n"
    "  gr33 diff A[:LABEL] B[:LABEL]\n"
    "  gr33 export-text FILE[:LABEL]\n"
    "  gr33 import-text TEXTFILE -o OUT.P33\n"
    "  gr33 extract FILE.G33:LABEL -o OUT.P33\n"
    "Device commands:\n"
    "  gr33 ports\n"
    "  gr33 identify\n"
    "  gr33 receive all|LABEL|temp -o FILE\n"
    "  gr33 receive all -o FILE [--keep-partial] [--resume PARTIAL]\n"
    "  gr33 send FILE[:LABEL] [--to LABEL|temp]\n"
    "  gr33 send FILE [--verify|--no-verify] [--no-snapshot]\n"
    "Library commands (the patches seen so far; --library FILE for another library file):\n"
    "  gr33 library import FILE|FOLDER...\n"
    "  gr33 library find QUERY\n"
    "  gr33 library history LABEL\n"
    "  gr33 library snapshots\n"
    "  gr33 library export QUERY|SNAPSHOT -o OUT.G33\n"
    "Ports: --in PORT --out PORT (a device number or part of a port name), --api API,\n"
    "       --virtual [--bank FILE] for the simulated GR-33.\n"
    "Log: gr33 --log COMMAND ... prints every MIDI message sent and received to the error\n"
    "     output.\n"
    "Help: gr33 --help, gr33 COMMAND --help; gr33 --version prints the version.\n";

namespace {

struct OptionSyntax {
    const char* name;
    const char* value; // nullptr for a flag
    const char* help;
};

// Every option of gr33. Each command accepts some of them; the others are still parsed with
// it (left out of its help), so "list has no option --to" names the option and its value is
// not taken for a file.
const OptionSyntax Options[] = {
    {"-o", "FILE", "The file the command writes"},
    {"--to", "LABEL|temp", "Where a single patch goes"},
    {"--in", "PORT", "The MIDI input port: a number from gr33 ports or part of a port name"},
    {"--out", "PORT", "The MIDI output port: a number from gr33 ports or part of a port name"},
    {"--api", "API", "The MIDI system to use (alsa or jack)"},
    {"--virtual", nullptr, "Talk to the built-in virtual GR-33 instead of a device"},
    {"--bank", "FILE", "With --virtual: the collection file of the virtual device's patches"},
    {"--library", "FILE", "The patch library file instead of the user's own"},
    {"--verify", nullptr, "Read the sent user slots back and compare them with what was sent"},
    {"--no-verify", nullptr, "Do not read the sent slots back (the default)"},
    {"--no-snapshot", nullptr,
     "Send a collection without first receiving the device's patches as a library snapshot"},
    {"--keep-partial", nullptr,
     "When receive all stops, keep the slots received in FILE.partial.G33"},
    {"--resume", "PARTIAL", "Receive all from the slot after those of a partial file on"},
    {"--log", nullptr, "Print every MIDI message sent and received to the error output"},
};

struct CommandSyntax {
    const char* name;
    std::size_t words; // positional arguments
    std::vector<std::string> options;
    const char* summary;
    bool moreWords = false; // at least `words`, checked further by the command
};

// The option every command accepts, before the command or after it.
constexpr const char* LogOption = "--log";

bool accepts(const CommandSyntax& syntax, const std::string& option) {
    return option == LogOption ||
           std::find(syntax.options.begin(), syntax.options.end(), option) != syntax.options.end();
}

const std::vector<std::string> PortOptions = {"--in", "--out", "--api", "--virtual", "--bank"};

std::vector<std::string> withPorts(std::string option) {
    std::vector<std::string> all = {std::move(option)};
    all.insert(all.end(), PortOptions.begin(), PortOptions.end());
    return all;
}

std::vector<std::string> withReceive() {
    auto all = withPorts("-o");
    all.insert(all.end(), {"--library", "--keep-partial", "--resume"});
    return all;
}

std::vector<std::string> withSend() {
    auto all = withPorts("--to");
    all.insert(all.end(), {"--verify", "--no-verify", "--no-snapshot", "--library"});
    return all;
}

const std::vector<CommandSyntax>& commands() {
    static const std::vector<CommandSyntax> table = {
        {"list",
         1,
         {},
         "Print the label and name of every patch of a collection, or of the one "
         "patch of a patch file."},
        {"dump", 1, {}, "Print every parameter of one patch, one per line."},
        {"diff", 2, {}, "Print the parameters in which two patches differ (exit status 1)."},
        {"export-text", 1, {}, "Print a patch in its text form."},
        {"import-text", 1, {"-o"}, "Turn the text form back into a patch file."},
        {"extract", 1, {"-o"}, "Write one slot of a collection as a patch file."},
        {"ports", 0, PortOptions, "List the MIDI input and output ports with their numbers."},
        {"identify", 0, PortOptions, "Ask the device who it is and print the answer."},
        {"receive", 1, withReceive(),
         "Receive all 128 user patches into a collection, or one patch into a patch file."},
        {"send", 1, withSend(),
         "Send a collection, or one patch to its own slot, another slot or the temporary "
         "patch."},
        {"library",
         1,
         {"-o", "--library"},
         "Import patches into the patch library, search it, show what the device's slots held "
         "and write collections of its patches.",
         true},
    };
    return table;
}

// The command's lines of the overview, "gr33 list FILE"; one below the other for the library
// commands.
std::string usageLine(const std::string& command) {
    std::istringstream lines(Gr33Usage);
    std::string usage;
    for (std::string line; std::getline(lines, line);)
        if (line.starts_with("  gr33 " + command + " ") || line == "  gr33 " + command)
            usage += (usage.empty() ? "" : "\n       ") + line.substr(2);
    return usage.empty() ? "gr33 " + command : usage;
}

// The options a command accepts; the others are in a group its help leaves out.
constexpr const char* AcceptedGroup = "Options";

// A command's help: its usage line, what it does and the options it accepts.
class CommandHelp : public CLI::Formatter {
public:
    std::string make_help(const CLI::App* app, std::string, CLI::AppFormatMode) const override {
        auto accepted = app->get_options([](const CLI::Option* option) {
            return !option->get_positional() && option->get_group() == AcceptedGroup;
        });
        return "usage: " + usageLine(app->get_name()) + "\n" + app->get_description() + "\n" +
               make_group(AcceptedGroup, false, accepted);
    }
};

// One command's part of the parser and what it collects.
struct CommandParser {
    const CommandSyntax* syntax = nullptr;
    CLI::App* app = nullptr;
    CLI::Option* help = nullptr;
    std::vector<std::string> words;
    std::vector<CLI::Option*> options; // in the order of Options
};

void addCommand(CLI::App& app, const CommandSyntax& syntax, CommandParser& parser,
                const std::shared_ptr<CommandHelp>& help) {
    parser.syntax = &syntax;
    parser.app = app.add_subcommand(syntax.name, syntax.summary);
    parser.app->formatter(help);
    // Unknown options are collected and reported in gr33's own words.
    parser.app->allow_extras();
    parser.app->set_help_flag();
    parser.help = parser.app->add_flag("-h,--help")->description("Print this help and exit");
    parser.app->add_option("words", parser.words);
    for (const auto& option : Options) {
        CLI::Option* added =
            option.value ? parser.app->add_option(option.name, CLI::callback_t{}, option.help)
                         : parser.app->add_flag(option.name)->description(option.help);
        if (option.value)
            added->type_name(option.value)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
        if (!accepts(syntax, option.name)) added->group("Not accepted");
        parser.options.push_back(added);
    }
}

// The usage error of a parsed command, or nothing; the old checks in their old order.
std::string check(const CommandParser& parser, CliArguments& arguments) {
    const std::string command = parser.syntax->name;
    for (const auto& extra : parser.app->remaining()) // with the "--" that ended the options
        if (extra != "--") return "unknown option " + extra;
    for (std::size_t i = 0; i < std::size(Options); ++i) {
        const CLI::Option* option = parser.options[i];
        if (option->count() == 0) continue;
        if (!Options[i].value) {
            arguments.flags.insert(Options[i].name);
            continue;
        }
        if (option->results().size() > 1) return std::string(Options[i].name) + " given twice";
        arguments.values[Options[i].name] = option->results().front();
    }
    arguments.positional = parser.words;
    const std::size_t count = parser.syntax->words;
    if (parser.syntax->moreWords) {
        if (arguments.positional.size() < count) return command + " needs a command";
    } else if (arguments.positional.size() != count)
        return command + " takes " + std::to_string(count) + " argument" + (count == 1 ? "" : "s");
    for (const auto& given : arguments.values)
        if (!accepts(*parser.syntax, given.first)) return command + " has no option " + given.first;
    for (const auto& given : arguments.flags)
        if (!accepts(*parser.syntax, given)) return command + " has no option " + given;
    return {};
}

} // namespace

Gr33CommandLine ParseGr33CommandLine(const std::vector<std::string>& args) {
    Gr33CommandLine line;
    const auto& table = commands();
    // The command is the first word after the --log given before it.
    const auto word = std::find_if(args.begin(), args.end(),
                                   [](const std::string& arg) { return arg != LogOption; });
    const std::string first = word == args.end() ? std::string() : *word;
    const auto known = std::find_if(table.begin(), table.end(),
                                    [&](const CommandSyntax& c) { return first == c.name; });
    if (first.empty()) {
        line.error = Gr33Usage;
        return line;
    }
    if (first == "--help" || first == "-h" || first == "help") {
        line.output = Gr33Usage;
        return line;
    }
    if (known == table.end() && first != "--version") {
        line.error = "gr33: unknown command " + first + "\n" + Gr33Usage;
        return line;
    }

    CLI::App app("", "gr33");
    app.set_help_flag();
    app.require_subcommand(0, 1); // so that a word after the command is never a command
    app.set_version_flag("--version", std::string("gr33 ") + KelvoVersion);
    CLI::Option* logFirst = app.add_flag(LogOption);
    auto help = std::make_shared<CommandHelp>();
    std::vector<CommandParser> parsers(table.size());
    // A known command is the only one built: the parse never reaches another command's
    // options, and a later word that names another command is one of its words either way.
    for (std::size_t i = 0; i < table.size(); ++i)
        if (known == table.end() || known == table.begin() + static_cast<std::ptrdiff_t>(i))
            addCommand(app, table[i], parsers[i], help);

    std::vector<std::string> reversed(args.rbegin(), args.rend()); // CLI11 takes them backwards
    try {
        app.parse(reversed);
    } catch (const CLI::CallForVersion& version) {
        line.output = std::string(version.what()) + "\n";
        return line;
    } catch (const CLI::ArgumentMismatch& e) {
        // "-o: 1 required FILE missing": an option at the end or before another option.
        const std::string text = e.what();

        line.error = "gr33 " + first + ": " + text.substr(0, text.find(':')) + " needs a value\n";
        return line;
    } catch (const CLI::ParseError& e) {
        line.error = "gr33 " + first + ": " + e.what() + "\n";
        return line;
    }
    if (known == table.end()) { // --version with something after it
        line.error = "gr33: unknown command " + first + "\n" + Gr33Usage;
        return line;
    }
    const auto& parser = parsers[static_cast<std::size_t>(known - table.begin())];
    if (parser.help->count() > 0) {
        line.output = parser.app->help();
        return line;
    }
    auto error = check(parser, line.arguments);
    if (!error.empty()) {
        line.error = "gr33 " + first + ": " + error + "\n";
        return line;
    }
    if (logFirst->count() > 0) line.arguments.flags.insert(LogOption);
    line.command = first;
    return line;
}
