#include "core/report/RunReport.h"

#include "core/catalogue/RunReport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <QStringList>

#include <algorithm>

namespace vestimo::report {

namespace {

QString heading(RunVerdict verdict) {
    switch (verdict) {
    case RunVerdict::Moved:
        return texts::sectionMoved();
    case RunVerdict::Left:
        return texts::sectionLeft();
    case RunVerdict::NotMoved:
        return texts::sectionNotMoved();
    case RunVerdict::Installed:
        return texts::sectionInstalled();
    case RunVerdict::WouldBeInstalled:
        return texts::sectionWouldBeInstalled();
    case RunVerdict::AlreadyInstalled:
        return texts::sectionAlreadyInstalled();
    case RunVerdict::Refused:
        return texts::sectionRefused();
    case RunVerdict::PassedOver:
        break;
    }
    return texts::sectionPassedOver();
}

// A name as it can stand on one line of the text form.
QString oneLine(QString text) {
    return text.replace(u'\r', QStringLiteral("\\r")).replace(u'\n', QStringLiteral("\\n"));
}

QString csvField(const QString& field) {
    if (!field.contains(u',') && !field.contains(u'"') && !field.contains(u'\r') && !field.contains(u'\n')) {
        return field;
    }
    QString quoted = field;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString csvRecord(const QStringList& fields) {
    QStringList quoted;
    quoted.reserve(fields.size());
    for (const QString& field : fields) {
        quoted.append(csvField(field));
    }
    return quoted.join(u',') + QStringLiteral("\r\n");
}

} // namespace

QList<RunVerdict> verdictsOf(RunKind kind) {
    if (kind == RunKind::Install) {
        return {RunVerdict::Installed, RunVerdict::WouldBeInstalled, RunVerdict::AlreadyInstalled,
                RunVerdict::Refused, RunVerdict::PassedOver};
    }
    return {RunVerdict::Moved, RunVerdict::Left, RunVerdict::NotMoved, RunVerdict::PassedOver};
}

QString verdictLabel(RunVerdict verdict) {
    switch (verdict) {
    case RunVerdict::Moved:
        return texts::verdictMoved();
    case RunVerdict::Left:
        return texts::verdictLeft();
    case RunVerdict::NotMoved:
        return texts::verdictNotMoved();
    case RunVerdict::Installed:
        return texts::verdictInstalled();
    case RunVerdict::WouldBeInstalled:
        return texts::verdictWouldBeInstalled();
    case RunVerdict::AlreadyInstalled:
        return texts::verdictAlreadyInstalled();
    case RunVerdict::Refused:
        return texts::verdictRefused();
    case RunVerdict::PassedOver:
        break;
    }
    return texts::verdictPassedOver();
}

QString verdictKey(RunVerdict verdict) {
    switch (verdict) {
    case RunVerdict::Moved:
        return QStringLiteral("moved");
    case RunVerdict::Left:
        return QStringLiteral("left");
    case RunVerdict::NotMoved:
        return QStringLiteral("notMoved");
    case RunVerdict::Installed:
        return QStringLiteral("installed");
    case RunVerdict::WouldBeInstalled:
        return QStringLiteral("wouldBeInstalled");
    case RunVerdict::AlreadyInstalled:
        return QStringLiteral("alreadyInstalled");
    case RunVerdict::Refused:
        return QStringLiteral("refused");
    case RunVerdict::PassedOver:
        break;
    }
    return QStringLiteral("passedOver");
}

int RunReport::count(RunVerdict verdict) const {
    return static_cast<int>(std::count_if(rows.begin(), rows.end(),
                                          [verdict](const RunRow& row) { return row.verdict == verdict; }));
}

QString RunReport::closingLine() const {
    return kind == RunKind::Install ? closing : texts::notMovedClosingLine(count(RunVerdict::NotMoved));
}

ReportFormat formatForFileName(const QString& fileName) {
    if (fileName.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) {
        return ReportFormat::Csv;
    }
    if (fileName.endsWith(QStringLiteral(".json"), Qt::CaseInsensitive)) {
        return ReportFormat::Json;
    }
    return ReportFormat::Text;
}

QByteArray toText(const RunReport& report) {
    QStringList lines;
    for (const RunFact& fact : report.facts) {
        lines << texts::factLine(fact.label, oneLine(fact.value));
    }
    for (const RunVerdict verdict : verdictsOf(report.kind)) {
        bool headed = false;
        for (const RunRow& row : report.rows) {
            if (row.verdict != verdict) {
                continue;
            }
            if (!headed) {
                lines << QString() << heading(verdict);
                headed = true;
            }
            const QString line = texts::reportLine(oneLine(row.file), oneLine(row.reason));
            const bool went = verdict == RunVerdict::Moved || verdict == RunVerdict::Installed ||
                              verdict == RunVerdict::WouldBeInstalled ||
                              verdict == RunVerdict::AlreadyInstalled;
            lines << (went && !row.where.isEmpty() ? texts::reportLineMoved(line, oneLine(row.where)) : line);
        }
    }
    lines << QString() << report.closingLine();
    return (lines.join(u'\n') + u'\n').toUtf8();
}

QByteArray toCsv(const RunReport& report) {
    QString csv =
        csvRecord({texts::columnFile(), texts::columnVerdict(), texts::columnReason(), texts::columnWhere()});
    for (const RunRow& row : report.rows) {
        csv += csvRecord({row.file, verdictLabel(row.verdict), row.reason, row.where});
    }
    return csv.toUtf8();
}

QByteArray toJson(const RunReport& report) {
    QJsonArray facts;
    for (const RunFact& fact : report.facts) {
        facts.append(
            QJsonObject{{QStringLiteral("label"), fact.label}, {QStringLiteral("value"), fact.value}});
    }
    QJsonArray rows;
    for (const RunRow& row : report.rows) {
        rows.append(QJsonObject{{QStringLiteral("file"), row.file},
                                {QStringLiteral("verdict"), verdictKey(row.verdict)},
                                {QStringLiteral("label"), verdictLabel(row.verdict)},
                                {QStringLiteral("reason"), row.reason},
                                {QStringLiteral("where"), row.where}});
    }
    const QJsonObject whole{{QStringLiteral("facts"), facts},
                            {QStringLiteral("rows"), rows},
                            {QStringLiteral("problemFolder"), report.problemFolder},
                            {QStringLiteral("couldNotBeMoved"), report.count(RunVerdict::NotMoved)}};
    return QJsonDocument(whole).toJson(QJsonDocument::Indented);
}

QByteArray formatted(const RunReport& report, ReportFormat format) {
    switch (format) {
    case ReportFormat::Csv:
        return toCsv(report);
    case ReportFormat::Json:
        return toJson(report);
    case ReportFormat::Text:
        break;
    }
    return toText(report);
}

platform::FileResult saveReport(const RunReport& report, const QString& path) {
    return platform::saveFile(path, formatted(report, formatForFileName(path)));
}

} // namespace vestimo::report
