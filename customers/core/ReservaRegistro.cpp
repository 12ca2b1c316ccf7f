#include "customers/core/ReservaRegistro.h"

#include "store/core/Record.h"

using namespace Qt::StringLiterals;

namespace qav {

std::optional<std::int64_t> maiorId(Table& tabela, std::string_view chave, std::string_view campoId) {
    const Record buffer = tabela.rec();
    tabela.clearFilter();
    std::optional<std::int64_t> maior = 0;
    Status s = tabela.seekLast(chave);
    if (s == Status::Ok)
        s = tabela.previous();
    if (s == Status::Ok)
        maior = tabela.rec().integer(campoId);
    else if (s == Status::Error)
        maior = std::nullopt;
    tabela.rec() = buffer;
    return maior;
}

ReservaId reservarId(Table& tabela, std::string_view chave, std::string_view campoId,
                     const std::function<std::int64_t(std::int64_t)>& proximo, int tentativas) {
    ReservaId reserva;
    const Record valores = tabela.rec();
    for (int tentativa = 0; tentativa < tentativas; ++tentativa) {
        const std::optional<std::int64_t> maior = maiorId(tabela, chave, campoId);
        if (!maior) {
            reserva.status = Status::Error;
            reserva.erro = tabela.error();
            return reserva;
        }
        tabela.rec() = valores;
        reserva.id = proximo(*maior);
        tabela.rec().setInteger(campoId, reserva.id);
        reserva.status = tabela.add();
        if (reserva.status == Status::Ok) {
            reserva.erro = {};
            return reserva;
        }
        reserva.erro = tabela.error();
        if (reserva.erro.code != ErrorCode::CreatesDuplicateKey)
            return reserva;
    }
    reserva.numeracaoFalhou = true;
    return reserva;
}

void bloquearReservado(Table& tabela, std::string_view chave, ReservaId& reserva) {
    Status s = tabela.hold(5000);
    if (s == Status::Ok)
        s = tabela.get(chave);
    if (s == Status::Ok)
        return;
    reserva.status = Status::Error;
    reserva.erro = tabela.error();
    reserva.bloqueioFalhou = true;
    const int codigo =
        tabela.error().isError() ? tabela.error().number() : static_cast<int>(ErrorCode::RecordNotFound);
    reserva.mensagem = u"Erro ("_s + QString::number(codigo) + u") ao bloquear registro."_s;
}

} // namespace qav
