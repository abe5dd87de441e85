#pragma once

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QString>
#include <QStringList>

#include <functional>

// Everything that crosses the virtual wire, and every wait of the host, in order.
// Thread-safe: the report listener's pool thread records beside the GUI thread.
class WireTrace {
public:
    enum Kind : unsigned {
        FeatureOut = 1u << 0, // host sends a feature report          "feature> 00 0b 03 …"
        FeatureIn = 1u << 1,  // host reads a feature report          "feature< 00 0b …"
        Output = 1u << 2,     // host writes an output report         "out> 00 …"
        Input = 1u << 3,      // host reads an input report (command) "in< …"
        Report = 1u << 4,     // report interface delivers a report   "report< 06 07 00 03"
        Wait = 1u << 5,       // the host's sleeper                   "wait 128"
        Timeout = 1u << 6,    // a read that timed out                "timeout 1000"
        Open = 1u << 7,       // "open cmd" / "open report" / "open failed <path>"
        Close = 1u << 8,      // "close cmd" / "close report"
        Error = 1u << 9,      // the device refused something         "error: bad checksum …"
        Note = 1u << 10,      // anything else worth seeing           "unplugged"
    };
    static constexpr unsigned kDefault =
        FeatureOut | FeatureIn | Output | Input | Wait | Timeout | Error;

    struct Entry {
        Kind kind;
        QByteArray bytes; // as on the wire (scrambled where the device scrambles)
        int ms = 0;       // Wait, Timeout
        QString text;     // Open, Close, Error, Note
    };

    void record(Entry e);
    // Off: entries only reach the observer (a long-running demo keeps no history).
    void setKeeping(bool keep);
    void clear();
    QList<Entry> entries(unsigned kinds = ~0u) const;
    // One line per entry of the given kinds, in the forms shown above (hex bytes in lower case).
    QStringList lines(unsigned kinds = kDefault) const;
    // The Error lines, "error: …".
    QStringList errors() const;

    static QString hex(const QByteArray& bytes); // "00 0b 03"
    static QString line(const Entry& e);         // one entry as lines() renders it

    // Also hands every new entry of the given kinds, rendered, to observer (on the recording
    // thread, with the trace locked: keep it short). An empty function stops it.
    void setObserver(std::function<void(const QString&)> observer, unsigned kinds = kDefault);

private:
    // A demo session records the listener's opens and closes for hours; beyond this many
    // entries the oldest are dropped.
    static constexpr qsizetype kMaxEntries = 200000;
    mutable QMutex mutex_;
    QList<Entry> entries_;
    bool keep_ = true;
    std::function<void(const QString&)> observer_;
    unsigned observedKinds_ = kDefault;
};
