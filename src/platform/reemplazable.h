#pragma once
// A service that the program uses through one interface and that a test, or a front end that has
// no windows, replaces for a while: message boxes, file dialogs, the text-input dialog.
//
//     Reemplazable<Avisos>::Activo().Mostrar(...);   // the service in use
//     Reemplazo<Avisos> reemplazo(avisosDePrueba);     // in use until `reemplazo` ends
//
// Each service names its own implementation for when nothing replaces it, by defining
// Reemplazable<Servicio>::PorDefecto() in its source file (and declaring that specialisation in its
// header, beside the interface).

namespace tarvik {

template <typename Servicio> class Reemplazo;

template <typename Servicio> class Reemplazable {
  public:
    // The replacement made last that is still in force, or the default implementation.
    static Servicio& Activo() { return activo_ ? *activo_ : PorDefecto(); }

  private:
    friend class Reemplazo<Servicio>;
    static Servicio& PorDefecto();
    inline static Servicio* activo_ = nullptr;
};

// Puts `sustituto` in use for the life of this object; then the service in use before comes back,
// so that replacements may nest.
template <typename Servicio> class Reemplazo {
  public:
    explicit Reemplazo(Servicio& sustituto) : anterior_(Reemplazable<Servicio>::activo_) {
        Reemplazable<Servicio>::activo_ = &sustituto;
    }
    ~Reemplazo() { Reemplazable<Servicio>::activo_ = anterior_; }
    Reemplazo(const Reemplazo&) = delete;
    Reemplazo& operator=(const Reemplazo&) = delete;

  private:
    Servicio* anterior_;
};

} // namespace tarvik
