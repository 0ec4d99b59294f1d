#include "sim/DefaultContent.h"

#include <QStringView>

namespace orvix::sim {

namespace {

// Views, not QStrings: the default content may be built while other
// translation units are still being initialised.
constexpr QStringView kCrLf = u"\r\n";

// Menu text groups: letter and number of texts, in file order.
struct MenuGroup {
    char16_t letter;
    int count;
};
constexpr std::array<MenuGroup, 14> kMenuGroups{{{u'A', 12},
                                                 {u'B', 1},
                                                 {u'C', 5},
                                                 {u'D', 5},
                                                 {u'E', 1},
                                                 {u'F', 1},
                                                 {u'G', 1},
                                                 {u'H', 1},
                                                 {u'J', 1},
                                                 {u'K', 1},
                                                 {u'L', 3},
                                                 {u'M', 4},
                                                 {u'N', 3},
                                                 {u'P', 4}}};
constexpr int kMenuTextCount = 43;

struct Language {
    const char16_t* description;
    std::array<const char16_t*, kMenuTextCount> menuTexts;
};

// The display has 16 characters per line, so no text is longer.
const std::array<Language, kDefaultLanguageCount> kLanguages{{
    {u"English",
     {u"Measure", u"Select Grain", u"Calibrate", u"Settings", u"Language", u"Units",
      u"Contrast", u"Backlight", u"Sleep Timer", u"Date/Time", u"Diagnostics", u"About",
      u"Please Wait",
      u"Empty Cell", u"Fill Cell", u"Level Sample", u"Remove Sample", u"Hold Steady",
      u"Moisture", u"Test Weight", u"Temperature", u"Sample Mass", u"Result",
      u"Battery Low", u"Out Of Range", u"Tilt Error", u"Cell Not Empty", u"Cell Overfilled",
      u"No Product",
      u"lb/bu", u"kg/hl", u"g/l",
      u"Yes", u"No", u"OK", u"Cancel",
      u"Temp Too Low", u"Temp Too High", u"Check Cell",
      u"Saving...", u"Saved", u"Power Off", u"Service Due"}},
    {u"Deutsch",
     {u"Messen", u"Getreide wählen", u"Kalibrieren", u"Einstellungen", u"Sprache",
      u"Einheiten", u"Kontrast", u"Beleuchtung", u"Ruhezeit", u"Datum/Zeit", u"Diagnose",
      u"Info",
      u"Bitte warten",
      u"Zelle leeren", u"Zelle füllen", u"Probe glätten", u"Probe entfernen", u"Ruhig halten",
      u"Feuchte", u"Hektolitergew.", u"Temperatur", u"Probenmasse", u"Ergebnis",
      u"Batterie schwach", u"Außer Bereich", u"Neigungsfehler", u"Zelle nicht leer",
      u"Zelle überfüllt", u"Kein Produkt",
      u"lb/bu", u"kg/hl", u"g/l",
      u"Ja", u"Nein", u"OK", u"Abbrechen",
      u"Temp. zu niedrig", u"Temp. zu hoch", u"Zelle prüfen",
      u"Speichern...", u"Gespeichert", u"Ausschalten", u"Wartung fällig"}},
    {u"Русский",
     {u"Измерение", u"Выбор зерна", u"Калибровка", u"Настройки", u"Язык", u"Единицы",
      u"Контраст", u"Подсветка", u"Таймер сна", u"Дата/время", u"Диагностика", u"О приборе",
      u"Подождите",
      u"Очистите ячейку", u"Заполните ячейку", u"Выровняйте", u"Удалите пробу",
      u"Не двигайте",
      u"Влажность", u"Натура", u"Температура", u"Масса пробы", u"Результат",
      u"Низкий заряд", u"Вне диапазона", u"Ошибка наклона", u"Ячейка не пуста",
      u"Переполнение", u"Нет продукта",
      u"фунт/буш", u"кг/гл", u"г/л",
      u"Да", u"Нет", u"ОК", u"Отмена",
      u"Темп. низкая", u"Темп. высокая", u"Проверьте ячейку",
      u"Сохранение...", u"Сохранено", u"Выключение", u"Нужен сервис"}},
}};

// One grain: its names per language, its calibration constants (each set
// adds up to a check value of 55) and its auto-ranging neighbours. Barley
// and corn hand over to each other, as do oats and rye; the rest range
// only within themselves.
struct Grain {
    std::array<const char16_t*, kDefaultLanguageCount> names;
    std::array<const char16_t*, 9> constants;
    int jumpMax;
    int jumpMin;
};

const std::array<Grain, kDefaultProductCount> kGrains{{
    {{u"Wheat", u"Weizen", u"Пшеница"},
     {u"3652", u"8764", u"2235", u"4234", u"6332", u"1395", u"1593", u"7727", u"4424"}, 0, 0},
    {{u"Barley", u"Gerste", u"Ячмень"},
     {u"1771", u"3995", u"5774", u"1475", u"8452", u"5156", u"2758", u"1307", u"1550"}, 2, 1},
    {{u"Corn", u"Mais", u"Кукуруза"},
     {u"4552", u"4425", u"1572", u"2971", u"1743", u"5514", u"4477", u"1484", u"6292"}, 2, 1},
    {{u"Soybeans", u"Sojabohnen", u"Соя"},
     {u"8761", u"2828", u"6166", u"6139", u"5775", u"8763", u"1506", u"5727", u"7562"}, 3, 3},
    {{u"Oats", u"Hafer", u"Овёс"},
     {u"4249", u"1406", u"8997", u"2811", u"1381", u"5560", u"8032", u"2090", u"4741"}, 5, 4},
    {{u"Rye", u"Roggen", u"Рожь"},
     {u"4433", u"2181", u"5429", u"1964", u"5676", u"3527", u"5589", u"7685", u"3576"}, 5, 4},
}};

QString Line(QStringView key, QStringView value) {
    QString line = key.toString();
    line += u'=';
    line += value;
    line += kCrLf;
    return line;
}
QString Line(QStringView key, int value) { return Line(key, QString::number(value)); }

QString EndOfFile() { return QStringLiteral("<EOF>\r\n"); }

QString ProductFile(int product, int language) {
    const Grain& grain = kGrains[static_cast<std::size_t>(product)];
    QString text = QStringLiteral("P\r\n");
    text += Line(u"PrdIdx", product);
    text += Line(u"LngIdx", language);
    text += Line(u"$Name", QStringView(grain.names[static_cast<std::size_t>(language)]));
    text += Line(u"Issue", u"R2.1");
    for (std::size_t k = 0; k < grain.constants.size(); ++k)
        text += Line(QString(u'K') + QString::number(k + 1), QStringView(grain.constants[k]));
    text += Line(u"TWBias", u"0.0");
    text += Line(u"MBias", u"0.0");
    text += Line(u"JmpMax", grain.jumpMax);
    text += Line(u"JmpMin", grain.jumpMin);
    return text + EndOfFile();
}

QString LanguageFile(int language) {
    const Language& lang = kLanguages[static_cast<std::size_t>(language)];
    QString text = QStringLiteral("L\r\n");
    text += Line(u"LngIdx", language);
    text += Line(u"$Desc", QStringView(lang.description));
    const QStringList& tags = MenuTextTags();
    for (int i = 0; i < kMenuTextCount; ++i)
        text += Line(tags[i], QStringView(lang.menuTexts[static_cast<std::size_t>(i)]));
    return text + EndOfFile();
}

QString UserFile() {
    return QStringLiteral("U\r\n") + Line(u"Units", u"kg/hl") + Line(u"Backlight", u"On") +
           Line(u"SleepTimer", 300) + Line(u"Contrast", 8) + Line(u"Operator", u"Service") + EndOfFile();
}

// Constants of a characterised instrument whose sensors match SensorTruth's
// defaults closely enough to pass the shipped limits.
QString NormalizationFile() {
    const char16_t* const lines[] = {
        u"N",
        u"AccAa = 9.987E-01",  u"AccAb = 1.372E-02",  u"AccAc = -8.410E-03", u"AccAd = 1.367E-02",
        u"AccBa = -1.290E-02", u"AccBb = 9.992E-01",  u"AccBc = 2.183E-02",  u"AccBd = -2.183E-02",
        u"Ldk = 2.000E+03",    u"LdECW = 0.05000",    u"TBias = 1.5",        u"TuBias = -2.1",
        u"Ru0_2M = 998.702",   u"Cu0_2M = 1.214",     u"Ru1_2M = 499.845",   u"Cu1_2M = 0.987",
        u"Ru0_5k = 1000.000",  u"Cu0_5k = 1.206",     u"Ru3_5k = 385.702",   u"Cu3_5k = 21737.512",
        u"Ek2M = 0.96200",     u"Ek5k = 1.04300",     u"NormVer=2",          u"CalStation=4",
        u"EVo2M = 1180",       u"EVo5k = 835",        u"<EOF>",
    };
    QString text;
    for (const char16_t* line : lines) {
        text += QStringView(line);
        text += kCrLf;
    }
    return text;
}

QString KeyFile() {
    return QStringLiteral("K\r\n") + Line(u"AMSN", kDefaultSerial) + Line(u"Model", kDefaultModel) +
           EndOfFile();
}

}  // namespace

const QStringList& MenuTextTags() {
    static const QStringList tags = [] {
        QStringList list;
        for (const MenuGroup& group : kMenuGroups)
            for (int n = 1; n <= group.count; ++n)
                list.append(QStringLiteral("$MT") + QChar(group.letter) +
                            QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')));
        return list;
    }();
    return tags;
}

InstrumentFiles DefaultInstrumentFiles() {
    InstrumentFiles files;
    for (int language = 0; language < kDefaultLanguageCount; ++language) {
        files.languages[static_cast<std::size_t>(language)] = LanguageFile(language);
        for (int product = 0; product < kDefaultProductCount; ++product)
            files.products[static_cast<std::size_t>(language)][static_cast<std::size_t>(product)] =
                ProductFile(product, language);
    }
    files.user = UserFile();
    files.normalization = NormalizationFile();
    files.key = KeyFile();
    return files;
}

}  // namespace orvix::sim
