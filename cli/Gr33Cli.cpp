#include "cli/Gr33Cli.h"

#include "cli/Interrupt.h"

#include "base/Errors.h"
#include "cli/Commands.h"
#include "cli/Gr33CommandLine.h"
#include "gr33/MessageLog.h"

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <streambuf>

namespace {

using Command = std::function<int(const CliArguments&, CliContext&)>;

const std::map<std::string, Command>& commands() {
    static const std::map<std::string, Command> table = {
        {"list", ListCommand},
        {"dump", DumpCommand},
        {"diff", DiffCommand},
        {"export-text", ExportTextCommand},
        {"import-text", ImportTextCommand},
        {"extract", ExtractCommand},
        {"ports", PortsCommand},
        {"identify", IdentifyCommand},
        {"receive", ReceiveCommand},
        {"send", SendCommand},
        {"library", LibraryCommand},
    };
    return table;
}

// The error output while --log prints there: received messages are printed on the MIDI
// backend's thread while the command may be writing its progress, so every write goes through
// one lock. Unbuffered, each write reaches the stream it stands for at once.
class LockedBuffer : public std::streambuf {
public:
    explicit LockedBuffer(std::streambuf* target) : target_(target) {}

protected:
    int overflow(int c) override {
        std::lock_guard lock(mutex_);
        return c == traits_type::eof() ? traits_type::not_eof(c)
                                       : target_->sputc(traits_type::to_char_type(c));
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        std::lock_guard lock(mutex_);
        return target_->sputn(text, count);
    }
    int sync() override {
        std::lock_guard lock(mutex_);
        return target_->pubsync();
    }

private:
    std::mutex mutex_;
    std::streambuf* target_;
};

// Prints each message of the device list's ports as it passes, for as long as it lives.
class LogPrinter {
public:
    explicit LogPrinter(std::ostream& err) : buffer_(err.rdbuf()), err_(&buffer_) {
        watch_ = MidiLog().Attach([this](const MidiLogEntry& entry) {
            std::string text;
            for (const std::string& line : Gr33LogLines(entry))
                text += line + "\n";
            buffer_.sputn(text.data(), static_cast<std::streamsize>(text.size()));
        });
    }
    // The command's own error output, through the same lock.
    std::ostream& Err() { return err_; }

private:
    LockedBuffer buffer_;
    std::ostream err_;
    TMidiLog::Watch watch_;
};

// The status of a run that failed: diff's 1 means "they differ", so its failures are 2.
int FailureStatus(const std::string& command) {
    return command == "diff" ? ExitUsageError : ExitDataError;
}

// Output that could not all be written (a full disk, a closed standard output) fails the run,
// whatever the command made of it: a script must not take a short listing for a whole one.
int Written(std::ostream& out, std::ostream& err, int status, const std::string& command) {
    out.flush();
    if (out) return status;
    err << "Unable to write the standard output\n";
    return FailureStatus(command);
}

} // namespace

int RunGr33(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    auto line = ParseGr33CommandLine(args);
    if (!line.error.empty()) {
        err << line.error;
        return ExitUsageError;
    }
    if (line.command.empty()) {
        out << line.output;
        return Written(out, err, ExitOk, line.command);
    }
    std::optional<LogPrinter> log;
    if (line.arguments.Flag("--log")) log.emplace(err);
    CliContext context{out, log ? log->Err() : err};
    try {
        const int status = commands().at(line.command)(line.arguments, context);
        return Written(out, context.err, status, line.command);
    } catch (const EUsage& e) {
        context.err << "gr33 " << line.command << ": " << e.what() << "\n";
        return ExitUsageError;
    } catch (const EInterrupted& e) {
        context.err << e.what() << "\n";
        return ExitInterrupted;
    } catch (const std::exception& e) {
        // The system's own message, as the application's message box would show it.
        context.err << MessageText(e.what()) << "\n";
        return FailureStatus(line.command);
    }
}
