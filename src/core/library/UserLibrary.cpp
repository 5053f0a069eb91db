#include "library/UserLibrary.h"

#include <filesystem>
#include <system_error>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QString>

#include "library/FileNames.h"
#include "library/Library.h"
#include "library/PathText.h"

namespace fs = std::filesystem;

namespace lectoria::library {

namespace {

// The build places the installed data folder relative to the programs' folder, so an install
// prefix can move (or a package can unpack anywhere) without a rebuild.
#ifndef LECTORIA_DATA_FROM_BIN
#define LECTORIA_DATA_FROM_BIN "../share/lectoria"
#endif

fs::path PathOf(const QString& text)
{
#ifdef _WIN32
    return fs::path(text.toStdU16String());
#else
    return fs::path(QFile::encodeName(text).toStdString());
#endif
}

QString TextOf(const fs::path& path)
{
#ifdef _WIN32
    return QString::fromStdU16String(path.u16string());
#else
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
#endif
}

bool HoldsDefaultLesson(const fs::path& root)
{
    std::error_code error;
    return fs::is_directory(root / NativeRelativePath(kDefaultLesson), error);
}

QString Reason(const std::error_code& error)
{
    return QString::fromLocal8Bit(error.message());
}

void Fail(CopyReport& report, const QString& what, const fs::path& path, const QString& reason)
{
    const QString message = what + QStringLiteral(" ") + TextOf(path) + QStringLiteral("：") + reason;
    report.failures.push_back(message.toStdString());
}

// The file goes in under a hidden name first and is renamed into place only when it is whole;
// QFile::rename never replaces an existing file, so a file the user made meanwhile stays theirs.
void CopyOneFile(const fs::path& from, const fs::path& to, CopyReport& report)
{
    const fs::path partial = to.parent_path() / (".lectoria-copy-" + to.filename().string());
    std::error_code error;
    if (!fs::copy_file(from, partial, fs::copy_options::overwrite_existing, error)) {
        fs::remove(partial, error);
        Fail(report, QStringLiteral("无法复制"), to, Reason(error));
        return;
    }
    if (!QFile::rename(TextOf(partial), TextOf(to))) {
        fs::remove(partial, error);
        if (!fs::exists(to, error)) {
            Fail(report, QStringLiteral("无法复制"), to, QStringLiteral("改名失败"));
        }
        return;
    }
    ++report.copied;
}

} // namespace

std::string UserLibraryDirectory()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return DirectoryText(PathOf(data) / "Lectoria" / "library");
}

std::string DemoLibraryDirectory()
{
    if (QCoreApplication::instance() == nullptr) {
        return {};
    }
    const fs::path programFolder = PathOf(QCoreApplication::applicationDirPath());
    const fs::path installed = (programFolder / LECTORIA_DATA_FROM_BIN / "library").lexically_normal();
    if (HoldsDefaultLesson(installed)) {
        return DirectoryText(installed);
    }
    if (HoldsDefaultLesson(programFolder)) {
        return DirectoryText(programFolder);
    }
    return {};
}

CopyReport CopyMissingFiles(const std::string& source, const std::string& destination)
{
    CopyReport report;
    const fs::path from = PathOf(FileSystemPath(source));
    const fs::path to = PathOf(FileSystemPath(destination));
    std::error_code error;
    fs::create_directories(to, error);
    if (error) {
        Fail(report, QStringLiteral("无法建立文件夹"), to, Reason(error));
        return report;
    }
    fs::recursive_directory_iterator entry(from, error);
    if (error) {
        Fail(report, QStringLiteral("无法读取文件夹"), from, Reason(error));
        return report;
    }
    for (const fs::recursive_directory_iterator end; entry != end; entry.increment(error)) {
        if (error) {
            Fail(report, QStringLiteral("无法读取文件夹"), from, Reason(error));
            break;
        }
        const fs::path target = to / entry->path().lexically_relative(from);
        if (entry->is_directory(error)) {
            fs::create_directories(target, error);
            if (error) {
                Fail(report, QStringLiteral("无法建立文件夹"), target, Reason(error));
                entry.disable_recursion_pending();
            }
        } else if (entry->is_regular_file(error) && !fs::exists(fs::symlink_status(target, error))) {
            CopyOneFile(entry->path(), target, report);
        }
    }
    return report;
}

} // namespace lectoria::library
