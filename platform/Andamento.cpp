#include "platform/Andamento.h"

UString PrefixoDoRotulo(const UString& caption) {
  const auto p = caption.find(u"Registro ");
  return p == UString::npos ? caption : caption.substr(0, p);
}

bool Andamento::Acompanha(const StatusLabel& rotulo, const ProgressBar& barra, long long agoraMs) {
  const UString& caption = rotulo.Caption();
  if (caption.empty()) {
    prefixo_.clear();
    return false;
  }
  UString prefixo = PrefixoDoRotulo(caption);
  if (prefixo == prefixo_) return false;
  prefixo_ = std::move(prefixo);
  inicioMs_ = agoraMs;
  inicioPos_ = barra.Position();
  return true;
}

int Andamento::EtapaAtual() const {
  if (prefixo_.empty()) return 0;
  for (std::size_t i = 0; i < etapas_.size(); ++i)
    if (etapas_[i].texto.compare(0, prefixo_.size(), prefixo_) == 0) return static_cast<int>(i) + 1;
  return 0;
}

std::optional<Andamento::Ritmo> Andamento::RitmoAgora(const ProgressBar& barra, long long agoraMs) const {
  const long long decorrido = agoraMs - inicioMs_;
  const int feitas = barra.Position() - inicioPos_;
  if (prefixo_.empty() || decorrido < 1000 || feitas <= 0) return std::nullopt;
  const double porSegundo = feitas * 1000.0 / static_cast<double>(decorrido);
  double restantes = barra.Max() - barra.Position();
  // The kinds still to come go at this kind's rate: the best guess there is.
  const int etapa = EtapaAtual();
  bool daConversao = etapa > 0;
  for (std::size_t i = static_cast<std::size_t>(etapa); etapa > 0 && i < etapas_.size(); ++i)
    if (etapas_[i].linhas >= 0)
      restantes += static_cast<double>(etapas_[i].linhas);
    else
      daConversao = false;
  return Ritmo{porSegundo, static_cast<long long>(restantes / porSegundo + 0.5), daConversao};
}

UString Andamento::Resumo(const ProgressBar& barra, long long agoraMs) const {
  if (prefixo_.empty()) return UString();
  UString r;
  if (const int etapa = EtapaAtual(); etapa > 0)
    r = u"Tipo " + IntToU(etapa) + u" de " + IntToU(static_cast<long long>(etapas_.size()));
  if (const std::optional<Ritmo> ritmo = RitmoAgora(barra, agoraMs)) {
    if (!r.empty()) r += u" - ";
    r += ComMilhares(static_cast<long long>(ritmo->porSegundo + 0.5)) + u" registros/s - faltam " +
         MinutosSegundos(ritmo->faltam) + (ritmo->daConversao ? u"" : u" neste tipo");
  }
  return r;
}

UString ComMilhares(long long valor) {
  const UString digitos = IntToU(valor < 0 ? -valor : valor);
  UString r = valor < 0 ? u"-" : u"";
  for (std::size_t i = 0; i < digitos.size(); ++i) {
    if (i > 0 && (digitos.size() - i) % 3 == 0) r += u'.';
    r += digitos[i];
  }
  return r;
}

UString NumerosComMilhares(const UString& texto) {
  auto digito = [](char16_t c) { return c >= u'0' && c <= u'9'; };
  // Next to these a number is part of something else: a code, a decimal, a date.
  auto cola = [&](char16_t c) {
    return digito(c) || c == u'.' || c == u',' || c == u'/' || c == u'-' || c == u':' ||
           (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
  };
  UString r;
  r.reserve(texto.size() + 4);
  std::size_t i = 0;
  while (i < texto.size()) {
    if (!digito(texto[i])) {
      r += texto[i++];
      continue;
    }
    std::size_t fim = i;
    while (fim < texto.size() && digito(texto[fim])) ++fim;
    // A leading zero makes it a code ("0012345"), not a count.
    const bool sozinho = (i == 0 || !cola(texto[i - 1])) && (fim == texto.size() || !cola(texto[fim])) &&
                         texto[i] != u'0';
    const std::size_t n = fim - i;
    if (sozinho && n >= 4 && n <= 18) {
      for (std::size_t k = i; k < fim; ++k) {
        if (k > i && (fim - k) % 3 == 0) r += u'.';
        r += texto[k];
      }
    } else {
      r.append(texto, i, n);
    }
    i = fim;
  }
  return r;
}

UString MinutosSegundos(long long segundos) {
  if (segundos < 0) segundos = 0;
  const long long s = segundos % 60;
  return IntToU(segundos / 60) + (s < 10 ? u":0" : u":") + IntToU(s);
}
