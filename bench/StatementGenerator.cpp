#include "StatementGenerator.h"

#include <QDate>
#include <QStringEncoder>

#include <array>
#include <string>
#include <vector>

namespace {

// A small, fast and reproducible generator (splitmix64).
class Random
{
public:
    explicit Random(quint64 seed) : m_state(seed) {}
    quint64 next()
    {
        quint64 z = (m_state += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    // Uniform in [0, n).
    quint64 below(quint64 n) { return n ? next() % n : 0; }
    bool chance(int percent) { return below(100) < quint64(percent); }

private:
    quint64 m_state;
};

// Card payments: the debit card prefix followed by the merchant as the bank prints it.
const char *const kShops[] = {
    "セブン－イレブン", "ファミリーマート", "ローソン", "ナチュラルローソン", "ローソンストア１００",
    "ミニストップ", "デイリーヤマザキ", "セイコーマート", "ポプラ", "ニューデイズ",
    "ＡＭＡＺＯＮ．ＣＯ．ＪＰ", "ＡＭＡＺＯＮ　ＰＲＩＭＥ", "ＡＰＰＬＥ．ＣＯＭ／ＢＩＬＬ",
    "ＧＯＯＧＬＥ　＊ＹＯＵＴＵＢＥ", "ＮＥＴＦＬＩＸ．ＣＯＭ", "ＳＰＯＴＩＦＹ", "ＭＩＣＲＯＳＯＦＴ",
    "ＡＤＯＢＥ", "ＤＲＯＰＢＯＸ", "ＵＢＥＲ　ＥＡＴＳ", "ＳＴＥＡＭ", "ＮＩＮＴＥＮＤＯ",
    "ＰＬＡＹＳＴＡＴＩＯＮ", "ＰＡＹＰＡＬ", "ＭＥＲＣＡＲＩ", "ラクテンイチバ", "ヨドバシカメラ",
    "ビックカメラ", "ヤマダデンキ", "ケーズデンキ", "エディオン", "ノジマ", "ジョーシン",
    "ユニクロ", "ジーユー", "しまむら", "無印良品", "ニトリ", "イケア", "ダイソー", "セリア",
    "キャンドゥ", "ロフト", "東急ハンズ", "ドン・キホーテ", "イオン", "イオンモール",
    "イトーヨーカドー", "西友", "ライフ", "サミット", "マルエツ", "オーケー", "成城石井",
    "業務スーパー", "コープ", "ベルク", "ヤオコー", "いなげや", "カスミ", "マツモトキヨシ",
    "ウエルシア", "スギ薬局", "ツルハドラッグ", "サンドラッグ", "ココカラファイン", "コスモス薬品",
    "スターバックス", "ドトールコーヒー", "タリーズコーヒー", "コメダ珈琲店", "エクセルシオール",
    "マクドナルド", "モスバーガー", "ケンタッキー", "バーガーキング", "すき家", "吉野家",
    "松屋", "なか卯", "ガスト", "サイゼリヤ", "ジョナサン", "デニーズ", "ロイヤルホスト",
    "ココス", "バーミヤン", "餃子の王将", "日高屋", "大戸屋", "やよい軒", "丸亀製麺",
    "はなまるうどん", "スシロー", "くら寿司", "はま寿司", "かっぱ寿司", "ＣｏＣｏ壱番屋",
    "天丼てんや", "リンガーハット", "ミスタードーナツ", "サーティワン", "シャトレーゼ",
    "紀伊國屋書店", "ＴＳＵＴＡＹＡ", "ブックオフ", "丸善ジュンク堂", "アニメイト",
    "ＪＲ東日本", "ＪＲ西日本", "東京メトロ", "小田急電鉄", "京王電鉄", "東急電鉄",
    "西武鉄道", "東武鉄道", "京急電鉄", "ＡＮＡ", "ＪＡＬ", "ピーチ", "エクスプレス予約",
    "ＥＮＥＯＳ", "出光", "コスモ石油", "タイムズ駐車場", "三井のリパーク", "日本交通",
    "東京電力", "東京ガス", "東京都水道局", "ＮＴＴドコモ", "ＡＵ", "ソフトバンク",
    "楽天モバイル", "ワイモバイル", "ＵＱモバイル", "ＮＵＲＯ光", "ヤマト運輸", "佐川急便",
    "日本郵便", "カインズ", "コーナン", "コメリ", "ビバホーム", "ホームズ", "オートバックス",
    "イエローハット", "ＡＢＣマート", "ゾゾタウン", "ロハコ", "アスクル", "ヨドバシ．ＣＯＭ",
    "ビックカメラ．ＣＯＭ", "ホットペッパー", "じゃらん", "楽天トラベル", "一休．ＣＯＭ",
    "ＴＯＨＯシネマズ", "イオンシネマ", "カラオケ館", "ビッグエコー", "ラウンドワン",
};

const char *const kPeople[] = {
    "ヤマダ　タロウ", "スズキ　ハナコ", "タナカ　イチロウ", "サトウ　ケンジ", "タカハシ　ミキ",
    "ワタナベ　ユウスケ", "イトウ　サクラ", "ナカムラ　ダイスケ", "コバヤシ　アイ",
    "カトウ　シンジ", "ヨシダ　マユミ", "ヤマモト　タクヤ", "ササキ　ユキ", "ヤマグチ　ショウ",
    "マツモト　リエ", "イノウエ　ヒロシ", "キムラ　ナオコ", "ハヤシ　マサト", "シミズ　カオリ",
    "ヤマザキ　ジュン", "モリ　アキラ", "アベ　トモコ", "イケダ　ツヨシ", "ハシモト　エミ",
    "ヤマシタ　コウジ", "イシカワ　ノゾミ", "ナカジマ　ユウタ", "マエダ　アヤ", "フジタ　ケイ",
    "オガワ　リョウ", "ゴトウ　チヒロ", "オカダ　マコト", "ハセガワ　メグミ", "ムラカミ　ソウタ",
    "カ）モリバショウジ", "カ）ヤマトコウギョウ", "ユ）サクラデザイン", "カ）ニホンシステム",
    "ド）アオゾラショウカイ", "カ）トウキョウサービス",
};

const char *const kAtm[] = {
    "ATM（セブン銀行）", "ATM（イオン銀行）", "ATM（ゆうちょ銀行）", "ATM（ローソン銀行）",
    "ATM（イーネット）", "ATM（三井住友銀行）", "ATM（三菱ＵＦＪ銀行）", "ATM（みずほ銀行）",
    "ATM入金（セブン銀行）", "ATM入金（ローソン銀行）",
};

const char *const kCommission[] = {
    "振込手数料", "ATM手数料", "他行宛振込手数料", "口座振替手数料", "発行手数料",
};

const char *const kInterest[] = {"決算お利息", "普通預金利息", "定期預金利息"};

const char *const kYahoo[] = {
    "Yahoo!ショッピング", "Yahoo!オークション", "Yahoo!プレミアム", "Yahoo!公金支払い",
    "Yahoo!トラベル", "Yahoo!ブックストア",
};

const char *const kDirectDebit[] = {
    "口座振替　ＮＨＫ", "口座振替　国民年金", "口座振替　住民税", "口座振替　自動車税",
    "口座振替　生命保険", "口座振替　損害保険", "口座振替　クレジットカード",
    "口座振替　ジェーシービー", "口座振替　ミツイスミトモカード", "口座振替　ラクテンカード",
    "ＰａｙＰａｙチャージ", "ＬＩＮＥ　Ｐａｙチャージ", "モバイルＳｕｉｃａチャージ",
    "ｎａｎａｃｏチャージ", "ＷＡＯＮチャージ", "ＦＸ入出金", "証券口座へ振替", "証券口座から振替",
    "定期預金預入", "定期預金解約", "toto購入", "競馬　払戻", "ＢＩＧ当せん金",
};

enum class Kind { Shop, TransferOut, TransferIn, Salary, Atm, AtmIn, Commission, Interest,
                  Yahoo, Debit };

struct Summary {
    std::string text;
    Kind kind;
};

struct Catalogue {
    std::vector<Summary> shops, transfersOut, transfersIn, salaries, atmOut, atmIn, commissions,
        interests, yahoo, debits;
    QStringList all;

    Catalogue()
    {
        for (const char *s : kShops)
            shops.push_back({std::string("Ｖデビット　") + s, Kind::Shop});
        for (const char *s : kPeople) {
            transfersOut.push_back({std::string("振込＊") + s, Kind::TransferOut});
            transfersIn.push_back({std::string("振込　") + s, Kind::TransferIn});
        }
        for (const char *s : {"給与　カ）モリバショウジ", "賞与　カ）モリバショウジ",
                              "給与　カ）ヤマトコウギョウ"})
            salaries.push_back({s, Kind::Salary});
        for (const char *s : kAtm) {
            const std::string text = s;
            if (text.find("入金") != std::string::npos)
                atmIn.push_back({text, Kind::AtmIn});
            else
                atmOut.push_back({text, Kind::Atm});
        }
        for (const char *s : kCommission)
            commissions.push_back({s, Kind::Commission});
        for (const char *s : kInterest)
            interests.push_back({s, Kind::Interest});
        for (const char *s : kYahoo)
            yahoo.push_back({s, Kind::Yahoo});
        for (const char *s : kDirectDebit)
            debits.push_back({s, Kind::Debit});
        for (const auto *list : {&shops, &transfersOut, &transfersIn, &salaries, &atmOut, &atmIn,
                                 &commissions, &interests, &yahoo, &debits})
            for (const Summary &s : *list)
                all.append(QString::fromStdString(s.text));
    }

    // The kinds in the proportions of an ordinary personal account.
    const Summary &pick(Random &random) const
    {
        const quint64 r = random.below(1000);
        const std::vector<Summary> *list;
        if (r < 560)
            list = &shops;
        else if (r < 660)
            list = &transfersOut;
        else if (r < 700)
            list = &transfersIn;
        else if (r < 715)
            list = &salaries;
        else if (r < 790)
            list = &atmOut;
        else if (r < 810)
            list = &atmIn;
        else if (r < 850)
            list = &commissions;
        else if (r < 860)
            list = &interests;
        else if (r < 920)
            list = &yahoo;
        else
            list = &debits;
        return (*list)[random.below(list->size())];
    }
};

const Catalogue &theCatalogue()
{
    static const Catalogue catalogue;
    return catalogue;
}

void appendNumber(std::string &out, qint64 value)
{
    char buffer[24];
    char *p = buffer + sizeof buffer;
    const bool negative = value < 0;
    quint64 v = negative ? quint64(-value) : quint64(value);
    do {
        *--p = char('0' + v % 10);
        v /= 10;
    } while (v);
    if (negative)
        *--p = '-';
    out.append(p, size_t(buffer + sizeof buffer - p));
}

void appendField(std::string &out, bool quoted, const std::string &text, bool comma = true)
{
    if (quoted)
        out += '"';
    out += text;
    if (quoted)
        out += '"';
    if (comma)
        out += ',';
}

void appendNumberField(std::string &out, bool quoted, qint64 value, bool comma = true)
{
    if (quoted)
        out += '"';
    appendNumber(out, value);
    if (quoted)
        out += '"';
    if (comma)
        out += ',';
}

std::string generate(const StatementGenerator::Options &o)
{
    const Catalogue &catalogue = theCatalogue();
    Random random(o.seed);
    std::string out;
    out.reserve(size_t(o.lines) * 100 + 200);
    const std::array<const char *, 11> header{"操作日(年)", "操作日(月)", "操作日(日)",
                                              "操作時刻(時)", "操作時刻(分)", "操作時刻(秒)",
                                              "取引順番号", "摘要", "お支払金額", "お預り金額",
                                              "残高"};
    for (size_t i = 0; i < header.size(); ++i)
        appendField(out, o.quoted, header[i], i + 1 < header.size());
    out += '\n';

    const QDate first(o.firstYear, 1, 1);
    const qint64 span = first.daysTo(first.addYears(o.years)) * 86400;
    // Mean step so that the lines fill the span; at least one second apart on average.
    const qint64 meanStep = std::max<qint64>(1, span / std::max<qint64>(1, o.lines));
    qint64 moment = 0;
    qint64 balance = 300000;
    qint64 order = 1;
    QDate day = first;
    qint64 dayIndex = 0;
    for (qint64 n = 0; n < o.lines; ++n) {
        moment += qint64(random.below(quint64(2 * meanStep))); // several may share a second
        if (moment >= span)
            moment = span - 1;
        const qint64 d = moment / 86400;
        if (d != dayIndex) {
            day = first.addDays(d);
            dayIndex = d;
        }
        const qint64 seconds = moment % 86400;
        const Summary &s = catalogue.pick(random);
        qint64 payment = 0, deposit = 0;
        switch (s.kind) {
        case Kind::Shop:
            payment = 100 + qint64(random.below(random.chance(10) ? 50000 : 5000));
            break;
        case Kind::TransferOut:
            payment = 1000 + qint64(random.below(200)) * 500;
            break;
        case Kind::TransferIn:
            deposit = 1000 + qint64(random.below(200)) * 500;
            break;
        case Kind::Salary:
            deposit = 180000 + qint64(random.below(200)) * 1000;
            break;
        case Kind::Atm:
            payment = (1 + qint64(random.below(10))) * 10000;
            break;
        case Kind::AtmIn:
            deposit = (1 + qint64(random.below(10))) * 10000;
            break;
        case Kind::Commission:
            payment = random.chance(50) ? 110 : 220;
            break;
        case Kind::Interest:
            deposit = 1 + qint64(random.below(300));
            break;
        case Kind::Yahoo:
            payment = 200 + qint64(random.below(20000));
            break;
        case Kind::Debit:
            if (random.chance(20))
                deposit = 1000 + qint64(random.below(100000));
            else
                payment = 1000 + qint64(random.below(30000));
            break;
        }
        if (payment > balance) {
            // Nothing is paid that the account cannot cover: the line becomes a small payment.
            payment = balance > 0 ? 1 + qint64(random.below(quint64(balance))) : 0;
            if (payment == 0)
                deposit = 10000;
        }
        balance += deposit - payment;

        appendNumberField(out, o.quoted, day.year());
        appendNumberField(out, o.quoted, day.month());
        appendNumberField(out, o.quoted, day.day());
        appendNumberField(out, o.quoted, seconds / 3600);
        appendNumberField(out, o.quoted, seconds / 60 % 60);
        appendNumberField(out, o.quoted, seconds % 60);
        appendNumberField(out, o.quoted, order++);
        if (o.distinctSummaries) {
            std::string text = s.text + "　No.";
            appendNumber(text, order);
            appendField(out, o.quoted, text);
        } else {
            appendField(out, o.quoted, s.text);
        }
        if (payment)
            appendNumberField(out, o.quoted, payment);
        else
            appendField(out, o.quoted, std::string());
        if (deposit)
            appendNumberField(out, o.quoted, deposit);
        else
            appendField(out, o.quoted, std::string());
        appendNumberField(out, o.quoted, balance, false);
        out += '\n';
    }
    return out;
}

} // namespace

StatementGenerator::StatementGenerator(const Options &options)
    : m_options(options)
{
}

QByteArray StatementGenerator::utf8() const
{
    const std::string bytes = generate(m_options);
    return QByteArray(bytes.data(), qsizetype(bytes.size()));
}

QString StatementGenerator::text() const
{
    return QString::fromUtf8(utf8());
}

QByteArray StatementGenerator::cp932() const
{
    QStringEncoder encoder("windows-31j");
    if (!encoder.isValid())
        return QByteArray();
    return encoder.encode(text());
}

std::pair<QByteArray, QByteArray> StatementGenerator::splitAfter(const QByteArray &statement,
                                                                 qint64 firstLines)
{
    qsizetype headerEnd = statement.indexOf('\n') + 1;
    qsizetype cut = headerEnd;
    for (qint64 n = 0; n < firstLines && cut > 0 && cut < statement.size(); ++n)
        cut = statement.indexOf('\n', cut) + 1;
    if (cut <= 0)
        cut = statement.size();
    return {statement.left(cut), statement.left(headerEnd) + statement.mid(cut)};
}

const QStringList &StatementGenerator::catalogue()
{
    return theCatalogue().all;
}

QString StatementGenerator::keywordHittingAboutOnePercent()
{
    // Three of the shops carry the word, each picked with a chance of 0.56 / 160.
    return QStringLiteral("寿司");
}

QString StatementGenerator::keywordHittingNothing()
{
    return QStringLiteral("存在しない店舗");
}
