// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "class_files.h"

#include <QCollatorSortKey>
#include <QFile>
#include <QLocale>

#include <algorithm>
#include <cerrno>
#include <memory>

#include <dirent.h>
#include <sys/stat.h>

namespace {

bool IsFolder(const std::string &path)
{
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// "*.xml" as a shell lists it, but whatever the case of the extension.
bool ResultFileName(std::string_view name)
{
    if (name.empty() || name.front() == '.' || name.size() < 5)
        return false;
    std::string extension(name.substr(name.size() - 4));
    for (char &c : extension)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return extension == ".xml";
}

std::string ListProblem(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
        return "Нет прав на чтение папки.";
    case ELOOP:
        return "Ссылки на папку ведут по кругу.";
    default:
        return "Папку не прочитать: системная ошибка (errno " + std::to_string(error) + ").";
    }
}

struct DirCloser {
    void operator()(DIR *dir) const { ::closedir(dir); }
};

// The *.xml files of one folder, sorted; or a single entry saying why none.
void ListFolder(const std::string &folder, const QCollator &collator, std::vector<ClassFile> &files,
                const std::atomic<bool> *stop)
{
    const std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.c_str()));
    if (!dir) {
        files.push_back({folder, ListProblem(errno)});
        return;
    }
    std::vector<std::string> names;
    errno = 0;
    while (const dirent *entry = ::readdir(dir.get())) {
        if (stop && stop->load(std::memory_order_relaxed))
            return;
        if (ResultFileName(entry->d_name))
            names.emplace_back(entry->d_name);
    }
    if (errno != 0) {
        files.push_back({folder, ListProblem(errno)});
        return;
    }
    if (names.empty()) {
        files.push_back({folder, "В папке нет файлов *.xml."});
        return;
    }
    // A name's key once, not at every comparison.
    std::vector<std::pair<QCollatorSortKey, std::size_t>> keys;
    keys.reserve(names.size());
    for (std::size_t i = 0; i < names.size(); ++i)
        keys.emplace_back(collator.sortKey(QFile::decodeName(names[i].c_str())), i);
    std::sort(keys.begin(), keys.end(), [&names](const auto &a, const auto &b) {
        const int order = a.first.compare(b.first);
        return order != 0 ? order < 0 : names[a.second] < names[b.second];
    });
    const std::string prefix = folder.back() == '/' ? folder : folder + "/";
    for (const auto &[key, i] : keys)
        files.push_back({prefix + names[i], {}});
}

} // namespace

QCollator NameCollator()
{
    QCollator collator{QLocale(QLocale::Russian, QLocale::Russia)};
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

std::vector<ClassFile> ListClassFiles(const std::vector<std::string> &paths, const std::atomic<bool> *stop)
{
    std::vector<ClassFile> files;
    std::unique_ptr<QCollator> collator;
    for (const std::string &path : paths) {
        if (stop && stop->load(std::memory_order_relaxed))
            break;
        if (!IsFolder(path)) {
            files.push_back({path, {}});
            continue;
        }
        if (!collator)
            collator = std::make_unique<QCollator>(NameCollator());
        ListFolder(path, *collator, files, stop);
    }
    return files;
}

RecordCheck CheckClassFile(const RecordChecker &checker, const ClassFile &file, const std::atomic<bool> *stop)
{
    if (file.Problem.empty())
        return checker.CheckFile(file.Path, stop);
    RecordCheck check;
    check.Result = Verdict::Unreadable;
    check.Detail = file.Problem;
    if (checker.TaskCount() == 1)
        check.Fewest = checker.Fewest();
    return check;
}
