#include "KelmLibraryUtils/FileListColumns.h"

#include "KelmLibraryUtils/StringUtils.h"

#include <QString>

namespace KelmLibraryUtils {
namespace {

using S = ColumnSort;

constexpr FileListColumnInfo Row(int column, S files, S folders) {
    return {column, FileListColumns::kFirstStringId + static_cast<unsigned>(column), files,
            folders};
}

constexpr std::array<FileListColumnInfo, ColumnCount> kCatalogue = {
    Row(0, S::Name, S::PathThenName), // 名前
    Row(1, S::Name, S::Name),         // フォルダー
    Row(2, S::Size, S::Size),         // サイズ
    Row(3, S::Text, S::Text),         // 種類
    Row(4, S::Date, S::Date),         // 更新日時
    Row(5, S::Date, S::Date),         // 作成日時
    Row(6, S::Date, S::Date),         // アクセス日時
    Row(7, S::Text, S::Text),         // 属性
    Row(8, S::Date, S::Date),         // 撮影日時
    Row(9, S::ImageSize, S::Text),    // 大きさ
    Row(10, S::Date, S::Date),        // デジタルデータ作成日時
    Row(11, S::Date, S::Date),        // デジタルデータ更新日時
    Row(12, S::Date, S::Date),        // コンテンツの作成日時
    Row(13, S::Date, S::Date),        // 前回保存日時
    Row(14, S::Date, S::Date),        // 前回印刷日
    Row(15, S::Name, S::Text),        // リンク先
    Row(16, S::Text, S::Text),        // カメラの製造元
    Row(17, S::Text, S::Text),        // カメラのモデル
    Row(18, S::Text, S::Text),        // EXIF バージョン
    Row(19, S::Text, S::Text),        // プログラム名
    Row(20, S::Text, S::Text),        // 露出プログラム
    Row(21, S::XResolution, S::Text), // 水平方向の解像度
    Row(22, S::YResolution, S::Text), // 垂直方向の解像度
    Row(23, S::Text, S::Text),        // ファイル拡張子
    Row(24, S::Text, S::Text),        // タイトル
    Row(25, S::Text, S::Text),        // 参加アーティスト
    Row(26, S::Text, S::Text),        // コメント
    Row(27, S::Text, S::Text),        // 評価
    Row(28, S::Text, S::Text),        // 著作権
    Row(29, S::Text, S::Text),        // アルバム
    Row(30, S::TrackNumber, S::Text), // トラック番号
    Row(31, S::Text, S::Text),        // ジャンル
    Row(32, S::Text, S::Text),        // 年
    Row(33, S::Text, S::Text),        // アルバムのアーティスト
    Row(34, S::Text, S::Text),        // 作曲者
    Row(35, S::Text, S::Text),        // 作詞者
    Row(36, S::Text, S::Text),        // 指揮者
    Row(37, S::Text, S::Text),        // プロデューサー
    Row(38, S::Text, S::Text),        // ディレクター
    Row(39, S::Text, S::Text),        // サブタイトル
    Row(40, S::Text, S::Text),        // 発行元
    Row(41, S::Text, S::Text),        // カテゴリ
    Row(42, S::Text, S::Text),        // 雰囲気
    Row(43, S::Bitrate, S::Text),     // ビット レート
    Row(44, S::Duration, S::Text),    // 長さ
    Row(45, S::Date, S::Text),        // PDF 作成日時
    Row(46, S::Date, S::Text),        // PDF 更新日時
};

} // namespace

const std::array<FileListColumnInfo, ColumnCount>& FileListColumns::Catalogue() {
    return kCatalogue;
}

std::wstring FileListColumns::GetHeaderText(int column) {
    if (column < 0 || column >= ColumnCount)
        return {};
    return StringUtils::GetLoadString(kCatalogue[static_cast<std::size_t>(column)].StringId);
}

int FileListColumns::FindColumn(const std::wstring& text) {
    const QString wanted = QString::fromStdWString(text);
    for (const auto& row : kCatalogue) {
        const QString header = QString::fromStdWString(StringUtils::GetLoadString(row.StringId));
        if (!header.isEmpty() && header.compare(wanted, Qt::CaseInsensitive) == 0)
            return row.Column;
    }
    return -1;
}

} // namespace KelmLibraryUtils
