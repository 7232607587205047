#pragma once
// The connection to the Norvale database: a file on this computer (embedded mode)
// or a database on a Firebird server, with the user and password to attach with.
// What the operator gives here lasts until the program ends; nothing is kept on
// disk.
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <functional>
#include <optional>

#include "platform/WindowServices.h"

struct Conexao {
  QString nome;  // the database name Firebird is given: a path, or host[/port]:path
  QString usuario;
  QString senha;
};

// The name of a database on a server: "host:path", or "host/port:path" when a
// port is given.
QString NomeServidor(const QString& servidor, const QString& porta, const QString& caminho);

class TConexaoDialog : public QDialog {
 public:
  // `atual`: what the window uses now; `escolheArquivo`: the window's file picker.
  TConexaoDialog(WindowServices& servicos, const Conexao& atual,
                 std::function<std::optional<QString>()> escolheArquivo, QWidget* parent = nullptr);

  // The connection given, once accepted.
  Conexao Escolhida() const;

  QRadioButton* rbArquivo;
  QLineEdit* edtArquivo;
  QPushButton* btnProcurar;
  QRadioButton* rbServidor;
  QLineEdit* edtServidor;
  QLineEdit* edtPorta;
  QLineEdit* edtCaminho;
  QLineEdit* edtUsuario;
  QLineEdit* edtSenha;
  QPushButton* btnTestar;
  QPushButton* btnOK;
  QPushButton* btnCancelar;

  // Accepts only a connection that is complete; otherwise says what is missing.
  void accept() override;
  // Attaches with what is given and tells the operator how it went.
  void Testa();

 private:
  void Habilita();
  // The database name given, or the reason it cannot be used.
  std::optional<QString> Nome(UString& problema) const;
  bool Valida();

  WindowServices& servicos_;
  std::function<std::optional<QString>()> escolheArquivo_;
};
