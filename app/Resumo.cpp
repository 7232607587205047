#include "app/Resumo.h"

#include <QAbstractTableModel>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

#include "platform/Andamento.h"
#include "platform/Error.h"
#include "run/GuardaRelatorio.h"
#include "run/Relatorio.h"

namespace {

QString Q(const UString& s) { return QString::fromStdU16String(s); }

// The rows not written, read from the result as the view asks for them: a run that
// skipped a hundred thousand rows costs no widget per row.
class ModeloLinhas : public QAbstractTableModel {
 public:
  ModeloLinhas(const std::vector<LinhaNaoGravada>& linhas, QObject* parent)
      : QAbstractTableModel(parent), linhas_(linhas) {}

  int rowCount(const QModelIndex& pai) const override {
    return pai.isValid() ? 0 : static_cast<int>(linhas_.size());
  }
  int columnCount(const QModelIndex& pai) const override {
    return pai.isValid() ? 0 : static_cast<int>(Relatorio::Colunas().size());
  }
  QVariant data(const QModelIndex& i, int papel) const override {
    if (!i.isValid()) return {};
    const LinhaNaoGravada& l = linhas_[static_cast<std::size_t>(i.row())];
    if (papel == Qt::TextAlignmentRole && i.column() == 1)
      return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (papel != Qt::DisplayRole && papel != Qt::ToolTipRole) return {};
    return Q(Relatorio::Campos(l.tipo, l.desfecho, l.nota)[static_cast<std::size_t>(i.column())]);
  }
  QVariant headerData(int secao, Qt::Orientation o, int papel) const override {
    if (papel != Qt::DisplayRole) return {};
    if (o == Qt::Vertical) return secao + 1;
    return QString::fromUtf8(Relatorio::Colunas()[static_cast<std::size_t>(secao)]);
  }

 private:
  const std::vector<LinhaNaoGravada>& linhas_;
};

// Lines one text high: more of them in sight on a small screen.
void Compacta(QTableView* t) {
  t->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 6);
}

QTableWidget* Tabela(const QStringList& colunas, const std::vector<std::vector<QString>>& linhas, QWidget* pai) {
  auto* t = new QTableWidget(static_cast<int>(linhas.size()), static_cast<int>(colunas.size()), pai);
  t->setHorizontalHeaderLabels(colunas);
  t->verticalHeader()->hide();
  t->setEditTriggers(QAbstractItemView::NoEditTriggers);
  t->setSelectionBehavior(QAbstractItemView::SelectRows);
  t->setWordWrap(false);
  Compacta(t);
  for (std::size_t r = 0; r < linhas.size(); ++r)
    for (std::size_t c = 0; c < linhas[r].size(); ++c) {
      auto* item = new QTableWidgetItem(linhas[r][c]);
      bool numero = !linhas[r][c].isEmpty();
      for (const QChar ch : linhas[r][c]) numero = numero && (ch.isDigit() || ch == u'.' || ch == u',' || ch == u'-');
      if (numero) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      item->setToolTip(linhas[r][c]);
      t->setItem(static_cast<int>(r), static_cast<int>(c), item);
    }
  t->resizeColumnsToContents();
  return t;
}

// A table no taller than its lines need, which scrolls when the dialog is short.
void AjustaAltura(QTableWidget* t, int minimoLinhas) {
  int altura = t->horizontalHeader()->sizeHint().height() + 2 * t->frameWidth();
  for (int r = 0; r < t->rowCount(); ++r) altura += t->rowHeight(r);
  const int linha = t->verticalHeader()->defaultSectionSize();
  const int minimo = t->horizontalHeader()->sizeHint().height() + 2 * t->frameWidth() + minimoLinhas * linha;
  t->setMaximumHeight(altura + 2);
  t->setMinimumHeight(std::min(altura + 2, minimo));
}

// A count as the shop reads it: 12.345.
QString Numero(long long n) { return Q(ComMilhares(n)); }

// Whether every figure of the reconciliation matched.
bool Confere(const RunReport& r) {
  for (const KindReport& k : r.Kinds())
    for (const LinhaConferencia& l : k.conferencia)
      if (!l.confere) return false;
  return true;
}

QString Situacao(const ResultadoConversao& r) {
  using D = ResultadoConversao::Desfecho;
  switch (r.desfecho) {
    case D::Gravada:
      return QStringLiteral("A conversão chegou ao fim e foi gravada no banco de destino.");
    case D::Simulada:
      return QStringLiteral("Simulação: a conversão foi feita inteira e desfeita no fim. Nada foi gravado no banco "
                            "de destino.");
    case D::Conferida:
      return Confere(r.report) ? QStringLiteral("Conferência do banco de destino com a pasta de origem: tudo "
                                                "confere. Nada foi gravado no banco de destino.")
                               : QStringLiteral("Conferência do banco de destino com a pasta de origem: há "
                                                "diferenças (veja NÃO CONFERE na tabela). Nada foi gravado no "
                                                "banco de destino.");
    case D::Interrompida:
      return QStringLiteral("A conversão foi interrompida e desfeita. Nada foi gravado no banco de destino.");
    case D::Falhou:
      break;
  }
  if (r.conferencia)
    return QStringLiteral("Não foi possível conferir (veja o erro mostrado). Nada foi gravado no banco de destino.");
  return r.simulacao ? QStringLiteral("A simulação falhou: a conversão de verdade falharia também. Nada foi "
                                      "gravado no banco de destino.")
                     : QStringLiteral("A conversão falhou e foi desfeita. Nada foi gravado no banco de destino.");
}

}  // namespace

Resumo::Resumo(ResultadoConversao resultado, WindowServices& servicos, QWidget* parent)
    : QDialog(parent), resultado_(std::move(resultado)), servicos_(servicos) {
  using D = ResultadoConversao::Desfecho;
  setWindowTitle(resultado_.conferencia ? QStringLiteral("Conferência do banco de destino")
                                        : QStringLiteral("Resumo da conversão"));
  setObjectName(QStringLiteral("Resumo"));
  EscolheArquivoRelatorio = [this] { return AbreDialogoRelatorio(); };
  auto* layout = new QVBoxLayout(this);

  lblSituacao = new QLabel(Situacao(resultado_), this);
  lblSituacao->setWordWrap(true);
  {
    QFont f = lblSituacao->font();
    f.setBold(true);
    lblSituacao->setFont(f);
  }
  layout->addWidget(lblSituacao);

  // After a rollback the rows written are gone again: the column says so.
  const QString gravados = resultado_.desfecho == D::Gravada    ? QStringLiteral("Gravados")
                           : resultado_.desfecho == D::Simulada  ? QStringLiteral("A gravar")
                           : resultado_.desfecho == D::Conferida ? QStringLiteral("Conferidos")
                                                                : QStringLiteral("Desfeitos");
  std::vector<std::vector<QString>> tipos;
  for (const KindReport& k : resultado_.report.Kinds())
    tipos.push_back({Q(k.kind) + (k.empresa.empty() ? QString() : QStringLiteral(" (empresa %1)").arg(Q(k.empresa))),
                     Numero(k.read), Numero(k.written), Numero(k.skipped), Numero(k.rejected), Numero(k.repeated)});
  tabTipos = Tabela({QStringLiteral("Tipo"), QStringLiteral("Lidos"), gravados, QStringLiteral("Ignorados"),
                     QStringLiteral("Rejeitados"), QStringLiteral("Documentos repetidos")},
                    tipos, this);
  tabTipos->setObjectName(QStringLiteral("tabTipos"));
  tabTipos->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  AjustaAltura(tabTipos, 3);
  layout->addWidget(tabTipos);

  tabConferencia = nullptr;
  const std::vector<std::vector<UString>> conferencia = Relatorio::LinhasConferencia(resultado_.report);
  if (!conferencia.empty()) {
    QStringList colunas;
    for (const char* c : Relatorio::ColunasConferencia()) colunas << QString::fromUtf8(c);
    std::vector<std::vector<QString>> linhas;
    for (const std::vector<UString>& l : conferencia) {
      linhas.emplace_back();
      for (const UString& campo : l) linhas.back().push_back(Q(campo));
    }
    layout->addWidget(new QLabel(QString::fromUtf8(Relatorio::TituloConferencia()), this));
    tabConferencia = Tabela(colunas, linhas, this);
    tabConferencia->setObjectName(QStringLiteral("tabConferencia"));
    AjustaAltura(tabConferencia, 3);
    layout->addWidget(tabConferencia, 1);
  }

  const std::size_t n = resultado_.linhas.size();
  lblLinhas = new QLabel(n == 0   ? QStringLiteral("Nenhum registro da origem deixou de ser gravado.")
                         : n == 1 ? QStringLiteral("1 registro da origem não foi gravado:")
                                  : QStringLiteral("%1 registros da origem não foram gravados:").arg(Numero(static_cast<long long>(n))),
                         this);
  layout->addWidget(lblLinhas);
  tabLinhas = new QTableView(this);
  tabLinhas->setObjectName(QStringLiteral("tabLinhas"));
  tabLinhas->setModel(new ModeloLinhas(resultado_.linhas, tabLinhas));
  tabLinhas->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tabLinhas->setSelectionBehavior(QAbstractItemView::SelectRows);
  tabLinhas->setWordWrap(false);
  Compacta(tabLinhas);
  tabLinhas->horizontalHeader()->setStretchLastSection(true);
  // Sized on the first lines only: measuring every line of a long list costs more
  // than it shows.
  tabLinhas->horizontalHeader()->setResizeContentsPrecision(200);
  tabLinhas->resizeColumnsToContents();
  tabLinhas->setMinimumHeight(120);
  layout->addWidget(tabLinhas, 2);
  if (n == 0) tabLinhas->hide();

  lblAvisos = nullptr;
  if (!resultado_.avisos.empty()) {
    QString texto = QStringLiteral("Avisos da leitura da origem:");
    for (const UString& a : resultado_.avisos) texto += QStringLiteral("\n") + Q(a);
    lblAvisos = new QLabel(texto, this);
    lblAvisos->setWordWrap(true);
    lblAvisos->setTextFormat(Qt::PlainText);
    layout->addWidget(lblAvisos);
  }

  lblGravado = new QLabel(this);
  lblGravado->setWordWrap(true);
  lblGravado->setTextFormat(Qt::PlainText);
  lblGravado->hide();
  layout->addWidget(lblGravado);

  auto* botoes = new QHBoxLayout;
  btnSalvar = new QPushButton(QStringLiteral("Salvar relatório..."), this);
  btnSalvar->setObjectName(QStringLiteral("btnSalvar"));
  // Only a run that got to its end has a whole report, as the console keeps it.
  const bool chegouAoFim = resultado_.desfecho == D::Gravada || resultado_.desfecho == D::Simulada ||
                           resultado_.desfecho == D::Conferida;
  btnSalvar->setEnabled(chegouAoFim);
  btnSalvar->setToolTip(chegouAoFim ? QStringLiteral("Grava cada registro não gravado e a conferência com a origem "
                                                     "num arquivo CSV (ou numa planilha .xlsx)")
                                    : QStringLiteral("A conversão não chegou ao fim: não há relatório a gravar"));
  btnFechar = new QPushButton(QStringLiteral("Fechar"), this);
  btnFechar->setObjectName(QStringLiteral("btnFechar"));
  btnFechar->setDefault(true);
  botoes->addWidget(btnSalvar);
  botoes->addStretch(1);
  botoes->addWidget(btnFechar);
  layout->addLayout(botoes);
  connect(btnSalvar, &QPushButton::clicked, this, [this] { SalvarRelatorio(); });
  connect(btnFechar, &QPushButton::clicked, this, &QDialog::accept);

  // Fits a 1024 x 768 screen with room for the panels around it; the tables scroll.
  QSize tamanho(900, std::clamp(sizeHint().height(), 360, 650));
  if (const QScreen* tela = QGuiApplication::primaryScreen())
    tamanho = tamanho.boundedTo(tela->availableGeometry().size() - QSize(40, 60));
  resize(tamanho);
}

Resumo::~Resumo() = default;

std::optional<QString> Resumo::AbreDialogoRelatorio() {
  QFileDialog dialogo(this);
  dialogo.setWindowTitle(QStringLiteral("Salvar relatório"));
  dialogo.setOption(QFileDialog::DontUseNativeDialog, true);
  dialogo.setAcceptMode(QFileDialog::AcceptSave);
  dialogo.setFileMode(QFileDialog::AnyFile);
  dialogo.setNameFilters({QStringLiteral("Relatório CSV (*.csv)"), QStringLiteral("Planilha (*.xlsx)")});
  dialogo.setDefaultSuffix(QStringLiteral("csv"));
  dialogo.setDirectory(QDir::homePath());
  dialogo.selectFile(QStringLiteral("relatorio-conversao-%1.csv").arg(QDate::currentDate().toString(Qt::ISODate)));
  if (dialogo.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList escolhidos = dialogo.selectedFiles();
  if (escolhidos.isEmpty()) return std::nullopt;
  return escolhidos.first();
}

void Resumo::SalvarRelatorio() {
  const std::optional<QString> escolhido = EscolheArquivoRelatorio();
  if (!escolhido || escolhido->isEmpty()) return;
  const std::string caminho = escolhido->toStdString();
  if (const UString recusa = RecusaRelatorio(caminho, resultado_.origem, resultado_.destino); !recusa.empty()) {
    servicos_.MessageBox(MsgKind::Error, u"Relatório não gravado: " + recusa, MsgButtons::OK);
    return;
  }
  try {
    std::unique_ptr<Relatorio> arquivo = AbreRelatorio(caminho);
    for (const LinhaNaoGravada& l : resultado_.linhas) arquivo->Linha(l.tipo, l.desfecho, l.nota);
    arquivo->Conferencia(resultado_.report);
    arquivo->Fecha();
  } catch (const std::exception& e) {
    servicos_.MessageBox(MsgKind::Error, ErrorMessage(e), MsgButtons::OK);
    return;
  }
  lblGravado->setText(QStringLiteral("Relatório gravado em %1").arg(QDir::toNativeSeparators(*escolhido)));
  lblGravado->show();
}
