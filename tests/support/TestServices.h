#pragma once

#include "common/EventPump.h"
#include "common/Panes.h"
#include "common/Platform.h"

#include <QStringList>
#include <QTemporaryDir>

#include <map>

namespace orvix::test {

// Records everything written to the panes, without the on-screen line limit.
class RecordingPanes : public Panes {
public:
    QStringList debug;
    QStringList data;
    QString response;
    QString fileView;
    std::map<int, QString> statusPanels;
    bool busy = false;
    int busyChanges = 0;

    void MessageToDebug(const QString& text) override { debug.append(text); }
    void MessageToData(const QString& text) override { data.append(text); }
    void MessageToResponse(const QString& text, int mode) override {
        response = mode == 1 ? text : response + text;
    }
    void MessageToFileView(const QString& text, int mode) override {
        fileView = mode == 1 ? text : fileView + text;
    }
    void SetStatusPanel(int panel, const QString& text) override { statusPanels[panel] = text; }
    void SetBusyCursor(bool isBusy) override {
        busy = isBusy;
        ++busyChanges;
    }
};

class CountingEventPump : public EventPump {
public:
    int processed = 0;
    int waits = 0;
    void processEvents() override { ++processed; }
    void waitForEvents(int) override { ++waits; }
};

// A program folder of its own (a fresh temporary folder), a fixed wall clock
// and a millisecond clock that only moves when told to or when slept on.
class FakePlatform : public Platform {
public:
    FakePlatform();

    QDateTime fixedNow;
    std::uint32_t ms = 1000;

    // Set to run the program from another folder (one that may not exist).
    QString folderOverride;

    QString programFolder() const override { return folderOverride.isEmpty() ? m_folder.path() : folderOverride; }
    std::uint32_t milliseconds() const override { return ms; }
    std::uint32_t timerPeriodMin() const override { return 1; }
    std::uint32_t timerPeriodMax() const override { return 1000000; }
    void sleep(int sleepMs) override { ms += static_cast<std::uint32_t>(sleepMs); }
    QDateTime now() const override { return fixedNow; }

    // The contents of a file in the program folder ("" when missing).
    QByteArray readFile(const QString& name) const;

private:
    QTemporaryDir m_folder;
};

}  // namespace orvix::test
