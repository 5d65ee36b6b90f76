// The source folders are floors: a file includes only from its own floor or below, and the
// folders of one floor never include each other in a circle.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <functional>
#include <gtest/gtest.h>

namespace {
const QString sourceRoot = QStringLiteral(TALLIVO_SOURCE_DIR "/src/");

// The clock-synchronisation subsystem has lived under both names.
QString Subsystem(const QString& folder) {
    return folder == QLatin1String("timesync") ? QStringLiteral("clock") : folder;
}

bool IsSubsystem(const QString& folder) {
    static const QSet<QString> names{"app", "dialup", "tariff", "journal", "clock", "timesync"};
    return names.contains(folder);
}

bool IsWindowCode(const QStringList& parts) {
    return parts.size() > 2 && parts[1] == QLatin1String("ui");
}

// 0 foundation, 1 subsystem cores, 2 shared widget pieces and the main window's declaration,
// 3 the subsystems' windows, 4 the program shell; -1 for a folder outside the map.
int Floor(const QString& path) {
    const QStringList parts = path.split(QLatin1Char('/'));
    if (path == QLatin1String("main.cpp"))
        return 4;
    if (parts[0] == QLatin1String("base"))
        return 0;
    if (parts[0] == QLatin1String("widgets"))
        return 2;
    if (!IsSubsystem(parts[0]))
        return -1;
    if (!IsWindowCode(parts))
        return 1;
    return parts[0] == QLatin1String("app") ? 4 : 3;
}

// The folder a file belongs to, as a node of the folder graph.
QString Unit(const QString& path) {
    const QStringList parts = path.split(QLatin1Char('/'));
    if (parts.size() == 1)
        return path;
    return Subsystem(parts[0]) + (IsWindowCode(parts) ? QStringLiteral("/ui") : QString());
}

struct Include {
    QString from;
    QString to;
};

QList<Include> ProjectIncludes() {
    static const QRegularExpression pattern(QStringLiteral("^#include \"([^\"]+)\""),
                                            QRegularExpression::MultilineOption);
    QList<Include> includes;
    QDirIterator files(sourceRoot, {"*.h", "*.cpp"}, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next().mid(sourceRoot.size());
        QFile file(sourceRoot + path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(file.readAll());
        for (auto match = pattern.globalMatch(text); match.hasNext();) {
            const QString included = match.next().captured(1);
            if (QFile::exists(sourceRoot + included))
                includes.append({path, included});
        }
    }
    return includes;
}

// A circle in a directed graph, as the list of its nodes; empty when there is none.
QStringList FindCircle(const QHash<QString, QSet<QString>>& edges) {
    QHash<QString, int> state; // 1 on the current path, 2 done
    QStringList path;
    std::function<bool(const QString&)> visit = [&](const QString& node) {
        state[node] = 1;
        path.append(node);
        for (const QString& next : edges.value(node)) {
            if (state.value(next) == 1) {
                path.append(next);
                return true;
            }
            if (state.value(next) == 0 && visit(next))
                return true;
        }
        path.removeLast();
        state[node] = 2;
        return false;
    };
    for (auto it = edges.begin(); it != edges.end(); ++it)
        if (state.value(it.key()) == 0 && visit(it.key()))
            return path;
    return {};
}
} // namespace

TEST(Floors, NoFileIncludesFromAHigherFloorAndNoFoldersIncludeEachOtherInACircle) {
    const QList<Include> includes = ProjectIncludes();
    ASSERT_GT(includes.size(), 100)
        << "the sources were not found under " << qPrintable(sourceRoot);
    QHash<QString, QSet<QString>> files, folders;
    for (const Include& include : includes) {
        const int from = Floor(include.from), to = Floor(include.to);
        EXPECT_GE(from, 0) << qPrintable(include.from) << " lies in a folder without a floor";
        EXPECT_LE(to, from) << qPrintable(include.from) << " includes " << qPrintable(include.to)
                            << " from a higher floor";
        files[include.from].insert(include.to);
        if (Unit(include.from) != Unit(include.to))
            folders[Unit(include.from)].insert(Unit(include.to));
    }
    EXPECT_EQ(FindCircle(folders).join(" -> ").toStdString(), "");
    EXPECT_EQ(FindCircle(files).join(" -> ").toStdString(), "");
}

TEST(Floors, TheCheckSeesAnUpwardIncludeAndACircle) {
    EXPECT_GT(Floor("tariff/ui/compute_cost.cpp"), Floor("widgets/tform1.h"));
    EXPECT_GT(Floor("app/ui/windows.cpp"), Floor("journal/ui/journal_window.h"));
    EXPECT_EQ(Floor("timesync/ui/clock_page.cpp"), Floor("clock/ui/clock_page.cpp"));
    EXPECT_EQ(Unit("timesync/time_query.h"), Unit("clock/time_query.h"));
    EXPECT_EQ(FindCircle({{"tariff/ui", {"journal/ui"}}, {"journal/ui", {"tariff/ui"}}}).size(), 3);
}
