#pragma once
// The settings store: name=value lines kept in memory for the whole run and written back to
// the settings file at the end when anything was written. Names compare without regard to
// case and the first match wins; lines without "=" stay in place untouched.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// The largest settings file the store reads.
constexpr std::size_t MaxSettingsFileSize = 1024 * 1024;

class TSettingsStore {
public:
    // Reads the file if it exists (CR LF, LF or CR line ends). A file that exists but cannot be
    // read, is not a regular file or is larger than MaxSettingsFileSize leaves the store empty and
    // marks the file as not to be overwritten; the reason is returned in ReadError().
    void Start(const std::string& path);
    // Writes all lines with CR LF endings, whole or not at all, if anything was written since
    // Start. Raises EKelvoError with the system's text when the file cannot be written.
    void End();

    std::string ReadSetting(const std::string& name) const;
    void WriteSetting(const std::string& name, const std::string& value);
    // Boolean settings are stored as "Yes"/"No" and read by comparing the upper-cased value.
    bool IsYes(const std::string& name) const;
    bool IsNo(const std::string& name) const;

    const std::string& SettingsFile() const { return path_; }
    const std::vector<std::string>& Lines() const { return lines_; }
    bool Changed() const { return changed_; }
    const std::string& ReadError() const { return readError_; }

private:
    std::string path_;
    std::vector<std::string> lines_;
    bool changed_ = false;
    std::string readError_;
};

// The process-wide store, created before the first window and ended after the last.
TSettingsStore& Settings();
inline std::string ReadSetting(const std::string& name) {
    return Settings().ReadSetting(name);
}
inline void WriteSetting(const std::string& name, const std::string& value) {
    Settings().WriteSetting(name, value);
}

// The integer a stored setting holds (the console's Channel): optional leading blanks, an
// optional sign and decimal digits, nothing after them, within -32768..32767. Nothing otherwise.
std::optional<int> SettingInteger(const std::string& text);

// Splits a settings file's text into lines, accepting CR LF, LF and CR as line ends.
std::vector<std::string> SplitSettingsLines(const std::string& text);
