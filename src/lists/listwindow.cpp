#include "lists/listwindow.h"

#include "core/global.h"
#include "core/dm.h"
#include "lists/handoff.h"
#include "platform/dialogs.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QProxyStyle>
#include <QShowEvent>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// Tabs as narrow as the Windows ones: with the style's wider margins a fixed set such as the
// registration years runs past the window's width.
class NarrowTabStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        const int value = QProxyStyle::pixelMetric(metric, option, widget);
        return metric == PM_TabBarTabHSpace ? value / 2 : value;
    }
};
QString S(const char *text) { return QString::fromUtf8(text); }

const QString DateMask = QStringLiteral("9999.99.99;0;_");

FieldDef def(const char *name, const char *title, int size, const QString &mask = {})
{
    FieldDef f;
    f.name = QString::fromLatin1(name);
    f.label = S(title);
    f.size = size;
    f.mask = mask;
    return f;
}

void paint(QWidget *w, const QColor &colour)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colour);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}
} // namespace

QList<FieldDef> ListFieldDefs()
{
    FieldDef ino = def("Ino", "", 14);
    ino.visible = false;
    return {def("Name", "성명", 10),      def("X", "성", 2),
            def("Bday", "생년월일", 8, DateMask), def("L", "력", 2),
            def("Tel1", "전화1", 14),     def("Tel2", "전화2", 14),
            def("Hp", "이동전화", 14),    def("Addr", "주    소", 80),
            def("Zip", "우편번호", 6, QStringLiteral("999-999;0;_")),
            def("Reg", "등록일자", 8, DateMask), def("Zone", "교구", 10),
            def("Area", "구역", 10),      def("Duty1", "직분1", 20),
            def("Duty2", "직분2", 20),    def("Bigo", "비고", 20),
            def("Part", "소속기관", 20),  def("Resp", "기관직책", 20),
            ino};
}

QString ListSelectLine()
{
    return QStringLiteral("SELECT Ino, Name, X, Bday, L, Tel1, Tel2, Hp, (Addr1 || ' ' || Addr2) Addr, Zip, Reg, "
                          "Zone, Area, Duty1, Duty2, Bigo, Part, Resp");
}

QString ListFromLine()
{
    return QStringLiteral("FROM \"master.DB\" Master");
}

QList<DBGrid::Column> ListColumns(const QStringList &fields, const QList<FieldDef> &extraDefs)
{
    const QList<FieldDef> defs = ListFieldDefs() + extraDefs;
    QList<DBGrid::Column> columns;
    for (const QString &name : fields) {
        QString title = name;
        for (const FieldDef &d : defs)
            if (d.name == name)
                title = d.label;
        // Every column is centred but the address, which is read from its start.
        const Qt::Alignment align = name == QLatin1String("Addr") ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter;
        const int width = name == QLatin1String("Bday") ? 88 : name == QLatin1String("Addr") ? 371
                          : name == QLatin1String("Reg") ? 98 : 0;
        columns.append({name, title, align, width});
    }
    return columns;
}

QString LikeLiteral(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('\\'))
            out += QLatin1Char('\\');
        out += c;
    }
    return out;
}

TListWindow::TListWindow(const char *objectName, const QString &caption, std::optional<Chart> chart, QWidget *parent)
    : TForm(parent), qrList(&frmDM->dbKelmo), m_chart(chart)
{
    setObjectName(QString::fromLatin1(objectName));
    setWindowTitle(caption);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    QFont f(QStringLiteral("굴림체"));
    f.setPixelSize(13);
    setFont(f);
    qrList.setFieldDefs(ListFieldDefs());
    // A list of every member must open at once: the grid reads the rows it shows.
    qrList.setFetchOnDemand(true);
    qrList.setSummary({QStringLiteral("SUM(X = '남')"), QStringLiteral("SUM(X = '여')")});

    auto named = [](QWidget *w, const char *name) { w->setObjectName(QString::fromLatin1(name)); };
    auto button = [&](const char *name, const char *caption, QWidget *parent) {
        auto *b = new QPushButton(S(caption), parent);
        named(b, name);
        b->setFixedSize(103, 29);
        return b;
    };

    pnlTitle = new QFrame(this);
    named(pnlTitle, "pnlTitle");
    static_cast<QFrame *>(pnlTitle)->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pnlTitle->setFixedHeight(37);
    paint(pnlTitle, QColor(0, 128, 192));
    auto *title = new QHBoxLayout(pnlTitle);
    title->setContentsMargins(6, 2, 4, 2);
    title->setSpacing(4);
    m_titleLeft = new QHBoxLayout;
    m_titleLeft->setSpacing(6);
    title->addLayout(m_titleLeft);
    title->addStretch(1);
    bbtnSave = button("bbtnSave", "저장(&S)", pnlTitle);
    bbtnStat = button("bbtnStat", "통계(&T)", pnlTitle);
    bbtnPrint = button("bbtnPrint", "인쇄(&P)", pnlTitle);
    for (QPushButton *b : {bbtnSave, bbtnStat, bbtnPrint}) {
        b->setFocusPolicy(Qt::ClickFocus);
        title->addWidget(b);
    }
    bbtnStat->setVisible(m_chart.has_value());

    tcList = new QTabBar(this);
    auto *narrow = new NarrowTabStyle;
    narrow->setParent(tcList);
    tcList->setStyle(narrow);
    named(tcList, "tcList");
    tcList->setExpanding(false);
    tcList->setUsesScrollButtons(true);
    dgrdList = new DBGrid(this);
    named(dgrdList, "dgrdList");
    dgrdList->setDataSource(&dsList);
    dgrdList->setMultiSelect(true);
    dgrdList->verticalHeader()->show();
    dgrdList->verticalHeader()->setDefaultSectionSize(dgrdList->fontMetrics().height() + 6);
    QFont headerFont = dgrdList->horizontalHeader()->font();
    headerFont.setBold(true);
    dgrdList->horizontalHeader()->setFont(headerFont);
    dgrdList->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    QPalette hp = dgrdList->horizontalHeader()->palette();
    hp.setColor(QPalette::ButtonText, Qt::blue);
    hp.setColor(QPalette::WindowText, Qt::blue);
    dgrdList->horizontalHeader()->setPalette(hp);
    stbrList = new QLabel(S("0명"), this);
    named(stbrList, "stbrList");
    stbrList->setAlignment(Qt::AlignCenter);
    stbrList->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    stbrList->setMinimumWidth(50);

    auto *bottom = new QFrame(this);
    named(bottom, "pnlButton");
    bottom->setFixedHeight(37);
    paint(bottom, QColor(0, 128, 128));
    auto *buttons = new QHBoxLayout(bottom);
    buttons->setContentsMargins(4, 2, 4, 2);
    auto *help = new QToolButton(bottom);
    named(help, "sbtnHelp");
    help->setText(QStringLiteral("?"));
    help->setEnabled(false);
    auto *hint = new QLabel(S("더블클릭하면 전화를 겁니다."), bottom);
    QPalette yellow = hint->palette();
    yellow.setColor(QPalette::WindowText, Qt::yellow);
    hint->setPalette(yellow);
    bbtnClose = button("bbtnClose", "닫기(&C)", bottom);
    buttons->addWidget(help);
    buttons->addWidget(hint, 1);
    buttons->addWidget(bbtnClose);

    m_body = new QVBoxLayout;
    m_body->setContentsMargins(4, 4, 4, 0);
    m_body->setSpacing(0);
    m_body->addWidget(tcList);
    m_body->addWidget(dgrdList, 1);
    m_body->addWidget(stbrList);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(pnlTitle);
    layout->addLayout(m_body, 1);
    layout->addWidget(bottom);
    resize(692, 523);
    dgrdList->setFocus();

    connect(bbtnSave, &QPushButton::clicked, this, [this] { Guarded([this] { bbtnSaveClick(); }); });
    connect(bbtnStat, &QPushButton::clicked, this, [this] { Guarded([this] { bbtnStatClick(); }); });
    connect(bbtnPrint, &QPushButton::clicked, this, [this] { Guarded([this] { bbtnPrintClick(); }); });
    connect(dgrdList, &DBGrid::doubleClicked, this, [this] { Guarded([this] { dgrdListDblClick(); }); });
    connect(bbtnClose, &QPushButton::clicked, this, &QWidget::close);
    connect(tcList, &QTabBar::currentChanged, this, [this] { Guarded([this] { tcListChange(); }); });
}

void TListWindow::addAllTab()
{
    const QSignalBlocker quiet(tcList); // the first tab would run the list before it is set up
    tcList->addTab(S("전체(&`)"));
}

void TListWindow::addTabs(const QStringList &list, int count, const QString &suffix)
{
    const QSignalBlocker quiet(tcList); // the list runs once, after the tabs are in
    for (int i = 0; i < count && i < list.size(); ++i) {
        const int tab = tcList->addTab(list[i] + suffix);
        tcList->setTabData(tab, list[i]);
    }
}

QString TListWindow::TabPattern() const
{
    const int tab = tcList->currentIndex();
    if (tab <= 0)
        return QStringLiteral("%");
    return LikeLiteral(tcList->tabData(tab).toString());
}

void TListWindow::setColumns(const QStringList &fields, int groupColumn, const QList<FieldDef> &extraDefs)
{
    QList<DBGrid::Column> columns = ListColumns(fields, extraDefs);
    if (groupColumn >= 0 && groupColumn < columns.size())
        columns[groupColumn].title = AreaWord();
    dgrdList->setColumns(columns);
}

void TListWindow::addTitleControl(QWidget *w, int stretch)
{
    w->setParent(pnlTitle);
    m_titleLeft->addWidget(w, stretch);
}

QLabel *TListWindow::addTitleLabel(const QString &text, const char *objectName)
{
    auto *label = new QLabel(text);
    label->setObjectName(QString::fromLatin1(objectName));
    QPalette white = label->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(white);
    addTitleControl(label);
    return label;
}

void TListWindow::setSqlLines(const QStringList &lines)
{
    ClearSQL();
    for (const QString &line : lines)
        AddSQL(line);
}

void TListWindow::ClearSQL()
{
    qrList.setSql(QString());
}

void TListWindow::AddSQL(const QString &line)
{
    qrList.setSql(qrList.sql() + line + QStringLiteral(" \n"));
}

void TListWindow::tcListChange()
{
    RefreshList();
}

void TListWindow::RefreshList()
{
    Guarded([this] {
        if (!CheckInput())
            return;
        qrList.close();
        BuildQuery();
        qrList.prepare();
        qrList.database()->runRetryingAfterLock(this, [this] { ShowList(); });
    });
}

void TListWindow::ShowList()
{
    try {
        qrList.open();
    } catch (...) {
        stbrList->setText(S("0명"));
        SetButtons(false);
        throw;
    }
    const int total = qrList.recordCount();
    stbrList->setText(CountText());
    SetButtons(total >= 1);
}

QString TListWindow::CountText()
{
    // Counted with the list's own opening, in one pass: the rows stay unread.
    const int total = qrList.recordCount();
    const int men = qrList.summary(0).toInt();
    const int women = qrList.summary(1).toInt();
    return S("전체 ") + QString::number(total) + S("명 / 남 ") + QString::number(men) + S("명 / 여 ") +
           QString::number(women) + S("명");
}

void TListWindow::SetButtons(bool enabled)
{
    for (QWidget *w : std::initializer_list<QWidget *>{bbtnStat, bbtnSave, bbtnPrint, dgrdList})
        w->setEnabled(enabled);
}

void TListWindow::bbtnSaveClick()
{
    resulthandoff::Save(qrList);
    FormActivate();
}

void TListWindow::bbtnStatClick()
{
    if (!m_chart)
        return;
    ShowChart(*m_chart);
    FormActivate();
}

void TListWindow::bbtnPrintClick()
{
    if (resulthandoff::Print(dgrdList, qrList))
        FormActivate();
}

void TListWindow::dgrdListDblClick()
{
    if (resulthandoff::Dial(dgrdList, qrList))
        FormActivate();
}

void TListWindow::FormClose()
{
    if (dgrdList->isEnabled())
        resulthandoff::OfferGoTo(qrList);
}

void TListWindow::showEvent(QShowEvent *event)
{
    TForm::showEvent(event);
    if (!event->spontaneous())
        Guarded([this] { FormActivate(); });
}
