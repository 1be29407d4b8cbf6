// The shipped string table: its file form and a few entries that other parts
// of the program rely on by number.
#include "KelmLibraryUtils/StringUtils.h"

#include <QFile>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include <set>
#include <utility>

using KelmLibraryUtils::StringUtils;

TEST(TheStringTableResource, hasWellFormedRowsWithUniqueKindsAndIds) {
    QFile file(QStringLiteral(":/res/strings.tsv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    std::set<std::pair<QString, unsigned int>> keys;
    int rows = 0;
    for (int n = 0; n < lines.size(); ++n) {
        const QString& line = lines[n];
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) {
            continue;
        }
        const QStringList fields = line.split(QLatin1Char('\t'));
        ASSERT_EQ(fields.size(), 3) << "line " << n + 1;
        const QString& kind = fields[0];
        bool kindOk = kind == QLatin1String("S") ||
                      ((kind.startsWith(QLatin1Char('M')) || kind.startsWith(QLatin1Char('D'))) &&
                       kind.size() > 1 && kind.mid(1).toUInt() > 0);
        EXPECT_TRUE(kindOk) << "line " << n + 1;
        bool idOk = false;
        unsigned int id = fields[1].toUInt(&idOk);
        EXPECT_TRUE(idOk) << "line " << n + 1;
        EXPECT_TRUE(keys.insert({kind, id}).second) << "duplicate on line " << n + 1;
        // Only the four escapes are used; a stray backslash would be shown as is.
        EXPECT_FALSE(QString(fields[2])
                         .remove(QStringLiteral("\\\\"))
                         .contains(QRegularExpression(QStringLiteral("\\\\[^nrt]|\\\\$"))))
            << "line " << n + 1;
        ++rows;
    }
    EXPECT_GT(rows, 500);
}

TEST(TheStringTable, holdsTheEntriesOtherPartsLoadByNumber) {
    struct Case {
        unsigned int id;
        const wchar_t* text;
    } cases[] = {
        {10231, L"項目を選択してください。"},
        {10261, L"選択した項目を変更しますか?"},
        {10271, L"%sを開始しますか?"},
        {11022, L"MS UI Gothic"},
        {10001, L"名前"},
        {10047, L"PDF 更新日時"},
        {57344, L"Kelm Horalux"},
        {10255, L"ファイルを開くことができませんでした。\r\n%s"},
        {11012, L"<a href=\"%s\">%s</a>"},
        {33001, L"項目を名前によって並び替えます。\n名前"},
        {10502, L"すべてのファイル (*.*)|*.*|"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StringUtils::GetLoadString(c.id), c.text) << c.id;
    }
    EXPECT_EQ(StringUtils::GetLoadStringText(32853),
              L"ログファイルから日時および属性の変更を元に戻します。");
    EXPECT_EQ(StringUtils::GetLoadStringTitle(32853), L"復元");
}

TEST(TheStringTable, coversEveryCatalogueColumnAndItsCommands) {
    for (unsigned int n = 0; n < 47; ++n) {
        const std::wstring header = StringUtils::GetLoadString(10001 + n);
        ASSERT_FALSE(header.empty()) << n;
        for (unsigned int base : {33001u, 33101u, 33201u}) {
            EXPECT_EQ(StringUtils::GetLoadStringTitle(base + n), header) << base + n;
        }
    }
    EXPECT_EQ(StringUtils::GetLoadString(10048), L"");
}

TEST(TheStringTable, keepsMenuAndDialogTextsApartFromStrings) {
    EXPECT_EQ(StringUtils::GetResourceText(L"M501", 32840), L"ブロックの解除(&K)");
    EXPECT_EQ(StringUtils::GetLoadStringTitle(32840), L"ブロックの解除");
    EXPECT_EQ(StringUtils::GetResourceText(L"M128", 32783), L"削除(&R)");
    EXPECT_EQ(StringUtils::GetResourceText(L"M501", 32783), L"削除(&E)");
    EXPECT_EQ(StringUtils::GetResourceText(L"D381", 1671), L"ブロック解除ウィザードの開始");
    EXPECT_EQ(StringUtils::GetResourceText(L"D230", 1061), L"名前(&N):");
    EXPECT_EQ(StringUtils::GetResourceText(L"S", 10231), StringUtils::GetLoadString(10231));
}
