#include "tests/help/HelpPages.h"

#include <QDir>
#include <QFile>
#include <QTextDocument>
#include <QXmlStreamReader>

namespace zor::test {

QStringList HelpPageNames()
{
    return QDir(QStringLiteral(":/help")).entryList({QStringLiteral("*.html")}, QDir::Files);
}

THelpPage ReadHelpPage(const QString &name)
{
    THelpPage page;
    page.Name = name;
    QFile file(QStringLiteral(":/help/") + name);
    if (!file.open(QIODevice::ReadOnly)) {
        page.Error = QStringLiteral("cannot open");
        return page;
    }
    QXmlStreamReader xml(&file);
    int rowDepth = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto tag = xml.name();
            const auto attributes = xml.attributes();
            if (tag == QLatin1String("title")) {
                page.Title = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            } else if (tag == QLatin1String("a")) {
                if (attributes.hasAttribute(QLatin1String("href")))
                    page.Links << attributes.value(QLatin1String("href")).toString();
                if (attributes.hasAttribute(QLatin1String("name")))
                    page.Anchors << attributes.value(QLatin1String("name")).toString();
            } else if (tag == QLatin1String("img")) {
                const QString src = attributes.value(QLatin1String("src")).toString();
                page.Images << src;
                if (rowDepth > 0)
                    page.Rows.last().Images << src;
            } else if (tag == QLatin1String("link")) {
                page.Styles << attributes.value(QLatin1String("href")).toString();
            } else if (tag == QLatin1String("tr")) {
                ++rowDepth;
                page.Rows.append(THelpRow{});
            }
        } else if (xml.isEndElement() && xml.name() == QLatin1String("tr")) {
            --rowDepth;
        } else if (xml.isCharacters() && rowDepth > 0) {
            page.Rows.last().Text += xml.text();
        }
    }
    if (xml.hasError())
        page.Error = QStringLiteral("line %1: %2").arg(xml.lineNumber()).arg(xml.errorString());
    for (THelpRow &row : page.Rows)
        row.Text = row.Text.simplified();
    return page;
}

QString HelpPageText(const QString &name)
{
    QFile file(QStringLiteral(":/help/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QTextDocument document;
    document.setHtml(QString::fromUtf8(file.readAll()));
    return document.toPlainText().simplified();
}

} // namespace zor::test
