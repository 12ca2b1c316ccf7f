#pragma once
// How a row struct of the order rules meets its table: one list of (field name, member) pairs,
// resolved once against the table catalogue. The catalogue gives each member its field's type and
// scale; the same list copies a table record into the struct and back, and lets a reader of any other
// source fill the struct field by field without naming the fields again.

#include "store/core/Record.h"

#include <QString>
#include <array>
#include <cstring>
#include <initializer_list>
#include <span>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

namespace qav {

// A member the order rules use whose field the catalogue lacks, or declares with a type the member
// cannot hold. It is a fault of the program, not of the data: the mappings are checked when the
// program starts, so the program stops there.
class CampoForaDoCatalogo : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// One member bound to one field. A struct that gathers values of two tables names the other table on
// the members that come from it.
template <typename S> struct Campo {
    using Membro = std::variant<int S::*, Decimal S::*, QString S::*, std::array<Decimal, 5> S::*>;

    const char* nome;
    Membro membro;
    std::size_t elemento = 0;     // of an array member: VL_PEDIDO2 is element 1 of VL_PEDIDO
    const char* tabela = nullptr; // nullptr: the struct's table
};

// A field as the catalogue declares it, seen from the member bound to it.
struct CampoTabela {
    const char* nome = "";
    const TableDef* tabela = nullptr;
    int indice = -1; // into tabela->fields
    FieldType tipo = FieldType::Int32;
    // Places a value keeps: s for a decimal(p,s); -1 for a real64, which holds money exactly.
    int escala = -1;
};

namespace mapeamento {
enum class Genero { Inteiro, Numero, Texto };

// The table of the catalogue by file name, prefix or table name; throws CampoForaDoCatalogo when the
// catalogue has no such table.
const TableDef& tabela(const char* nome);
// Finds `nome` in `tabela` and checks that a member of `genero` can hold it; throws
// CampoForaDoCatalogo naming the table and the field otherwise.
CampoTabela resolver(const TableDef& tabela, const char* nome, Genero genero);
} // namespace mapeamento

template <typename S> class Mapeamento {
public:
    Mapeamento(const char* tabela, std::initializer_list<Campo<S>> campos)
        : Mapeamento(tabela, std::span<const Campo<S>>(campos.begin(), campos.size())) {}
    Mapeamento(const char* tabela, std::span<const Campo<S>> campos) : m_tabela(&mapeamento::tabela(tabela)) {
        m_vinculos.reserve(campos.size());
        for (const Campo<S>& campo : campos) {
            const TableDef& origem = campo.tabela ? mapeamento::tabela(campo.tabela) : *m_tabela;
            if (campo.elemento >=
                (std::holds_alternative<std::array<Decimal, 5> S::*>(campo.membro) ? 5u : 1u))
                throw CampoForaDoCatalogo(std::string(origem.fileName) + ": " + campo.nome +
                                          " ligado a um elemento que o membro não tem");
            m_vinculos.emplace_back(campo, mapeamento::resolver(origem, campo.nome, genero(campo.membro)));
        }
    }

    const TableDef& tabela() const { return *m_tabela; }

    // Calls f(const CampoTabela&, int&), f(const CampoTabela&, Decimal&) or f(const CampoTabela&,
    // QString&) for every member, in the order of the list.
    template <typename F> void paraCada(S& s, F&& f) const {
        for (const Vinculo& v : m_vinculos)
            std::visit([&](auto membro) { f(v.campo, acessar(s, membro, v.elemento)); }, v.membro);
    }
    template <typename F> void paraCada(const S& s, F&& f) const {
        for (const Vinculo& v : m_vinculos)
            std::visit([&](auto membro) { f(v.campo, acessar(s, membro, v.elemento)); }, v.membro);
    }

    // The field bound to a member; throws CampoForaDoCatalogo when the member is not in the list.
    template <typename T> const CampoTabela& campo(T S::*membro) const {
        for (const Vinculo& v : m_vinculos)
            if (const auto* m = std::get_if<T S::*>(&v.membro); m && *m == membro)
                return v.campo;
        throw CampoForaDoCatalogo(std::string(m_tabela->fileName) + ": membro sem campo no mapeamento");
    }
    const char* nome(int S::*membro) const { return campo(membro).nome; }
    // The scale of the decimal(p,s) field bound to a member; a real64 field has none.
    int escala(Decimal S::*membro) const {
        const CampoTabela& c = campo(membro);
        if (c.tipo != FieldType::Decimal)
            throw CampoForaDoCatalogo(std::string(m_tabela->fileName) + ": " + c.nome +
                                      " não é decimal(p,s)");
        return c.escala;
    }

    // Record -> struct and back. Members bound to another table are left as they are; decimals are
    // rounded to their field's scale on the way in, texts cut to the field's width (Record's rules).
    void ler(const Record& registro, S& s) const {
        conferir(registro);
        paraCada(s, [&](const CampoTabela& c, auto& valor) {
            if (c.tabela != m_tabela)
                return;
            using T = std::remove_reference_t<decltype(valor)>;
            if constexpr (std::is_same_v<T, int>)
                valor = static_cast<int>(registro.integer(c.indice));
            else if constexpr (std::is_same_v<T, Decimal>)
                valor = registro.decimal(c.indice);
            else
                valor = registro.text(c.indice);
        });
    }
    void gravar(const S& s, Record& registro) const {
        conferir(registro);
        paraCada(s, [&](const CampoTabela& c, const auto& valor) {
            if (c.tabela != m_tabela)
                return;
            using T = std::remove_cvref_t<decltype(valor)>;
            if constexpr (std::is_same_v<T, int>)
                registro.setInteger(c.indice, valor);
            else if constexpr (std::is_same_v<T, Decimal>)
                registro.setDecimal(c.indice, valor);
            else
                registro.setText(c.indice, valor);
        });
    }

private:
    struct Vinculo {
        Vinculo(const Campo<S>& c, const CampoTabela& t) : membro(c.membro), elemento(c.elemento), campo(t) {}
        typename Campo<S>::Membro membro;
        std::size_t elemento;
        CampoTabela campo;
    };

    static mapeamento::Genero genero(const typename Campo<S>::Membro& membro) {
        if (std::holds_alternative<int S::*>(membro))
            return mapeamento::Genero::Inteiro;
        if (std::holds_alternative<QString S::*>(membro))
            return mapeamento::Genero::Texto;
        return mapeamento::Genero::Numero;
    }

    template <typename Struct, typename T> static auto& acessar(Struct& s, T S::*membro, std::size_t) {
        return s.*membro;
    }
    template <typename Struct>
    static auto& acessar(Struct& s, std::array<Decimal, 5> S::*membro, std::size_t elemento) {
        return (s.*membro).at(elemento);
    }

    void conferir(const Record& registro) const {
        if (std::strcmp(registro.def().fileName, m_tabela->fileName) != 0)
            throw CampoForaDoCatalogo(std::string("registro de ") + registro.def().fileName + " tomado por " +
                                      m_tabela->fileName);
    }

    const TableDef* m_tabela = nullptr;
    std::vector<Vinculo> m_vinculos;
};

} // namespace qav
