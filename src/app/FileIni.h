#pragma once

#include <QString>

namespace orvix {

class Platform;
class Prompter;

// What the settings file keeps of the main window.
class IniWindow {
public:
    virtual ~IniWindow() = default;
    virtual int TopTwips() const = 0;
    virtual int LeftTwips() const = 0;
    virtual void SetTopTwips(int twips) = 0;
    virtual void SetLeftTwips(int twips) = 0;
    virtual int CurrentTab() const = 0;
    virtual void SetCurrentTab(int index) = 0;
    virtual bool IsTabAvailable(int index) const = 0;
    // Leaves the maximised or minimised state, so the position saved is that
    // of the normal window.
    virtual void ShowNormal() = 0;
};

// "Settings.ini" in the program's folder: window position, selected tab and
// the two working folders, carried from one run to the next.
class FileIni {
public:
    static inline const QString kFileName = QStringLiteral("Settings.ini");
    static constexpr int kTabCount = 4;

    FileIni(Prompter& prompter, const Platform& platform);

    // mode 0 reads the file and applies it (creating it on the first run),
    // mode 1 writes it.
    void AccessIniFile(int mode, IniWindow& window);

    QString FilePath() const;
    const QString& CharPath() const { return m_charPath; }
    const QString& DataPath() const { return m_dataPath; }
    void SetCharPath(const QString& path) { m_charPath = path; }
    void SetDataPath(const QString& path) { m_dataPath = path; }

private:
    bool FileHasContent() const;
    void Write(IniWindow& window);
    void Read(IniWindow& window);
    void Apply(const QString& line, IniWindow& window);
    void ReportWriteFailure(const QString& reason);

    Prompter& m_prompter;
    const Platform& m_platform;
    QString m_charPath;
    QString m_dataPath;
    bool m_writeFailureReported = false;
};

}  // namespace orvix
