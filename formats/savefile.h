#pragma once

#include <QSaveFile>

// A QSaveFile that refuses to stand in for a device, pipe or socket: committing would put
// a regular file in the place of the node (and report success, also for /dev/full).
class SaveFile : public QSaveFile
{
public:
    explicit SaveFile(const QString& name) : QSaveFile(name) {}
    bool open(OpenMode mode) override;
};
