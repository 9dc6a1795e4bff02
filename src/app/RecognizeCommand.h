#pragma once

#include <QStringList>
#include <QtGlobal>

class AppSettings;
class QTextStream;
class TextRecognizer;

// `quillora --recognize FILE...`: reads image files with the recogniser, preparation and clean-up settings of a
// capture and prints each text. No window, no tray, no display connection.
//
// One file: its text and a line feed (nothing for an image without text). Several files: for each, a header
// line "==> FILE <==", then its text, files separated by an empty line. "-" reads an image from standard input.
// Exit status 0 when every file was read and recognised, 1 when any was not (the others are still printed),
// 2 for a call without files.
class RecognizeCommand {
public:
    static constexpr const char* Option = "--recognize";
    // An image file, or standard input, is read up to this size (the largest image Qt decodes is as large).
    static constexpr qint64 MaxImageBytes = 256LL * 1024 * 1024;

    RecognizeCommand(TextRecognizer& recognizer, const AppSettings& settings, QTextStream& out, QTextStream& err);

    int run(const QStringList& files);

    // Whether the command line asks for this command (its first argument is the option).
    static bool isRequested(int argc, char** argv);
    // Runs the command with the user's real recogniser and settings; argv as given to main().
    static int main(int argc, char** argv);

private:
    TextRecognizer& m_recognizer;
    const AppSettings& m_settings;
    QTextStream& m_out;
    QTextStream& m_err;
};
