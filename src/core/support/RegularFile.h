#pragma once

#include <QByteArray>
#include <QString>

// Reads a whole file that must be a regular file of bounded size. A path that names a FIFO, a device, a
// socket or a directory is refused without blocking (the open never waits for a writer), and nothing beyond
// the limit is ever read, so a link to /dev/zero or a file that keeps growing cannot hang or fill the program.
class RegularFile {
public:
    enum class Status { Read, Missing, NotRegular, Directory, TooLarge, Failed };

    struct Result {
        Status status = Status::Failed;
        QByteArray bytes;
        QString error; // why, in words, when not Read
    };

    static Result read(const QString& path, qint64 maxBytes);
    // The same for an open descriptor (standard input): whatever kind it is, at most maxBytes are read; one
    // byte more makes it TooLarge.
    static Result readStream(int fd, qint64 maxBytes);
};
