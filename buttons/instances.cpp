#include "buttons/instances.h"

#include <array>

namespace orv::buttons {

namespace {

// Saved from buttons set up in design mode; the pictures are icon resources
// of the program.
constexpr std::array<ButtonInstance, 8> kInstances{{
    {"Form1", "kwButtons_H4", 89, 33,
     "caption=Gravar\n"
     "font=Times New Roman;9.75;b\n"
     "cgradient=0x00000000\n"
     "mode=0\n"
     "value=0\n"
     "image=res:kw_gravar\n"
     "cback=0x8000000F\n"},
    {"Form1", "kwButtons_H5", 89, 33,
     "caption=Ler\n"
     "font=Times New Roman;9.75;b\n"
     "cgradient=0x00000000\n"
     "mode=0\n"
     "value=0\n"
     "image=res:kw_ler\n"
     "cback=0x8000000F\n"},
    {"Form1", "kwButtons_H3", 105, 33,
     "caption=Ajuda\n"
     "font=Times New Roman;11.25;b\n"
     "cgradient=0x00000000\n"
     "mode=0\n"
     "value=0\n"
     "image=res:kw_ajuda\n"
     "imgsize=24\n"
     "cback=0x8000000F\n"},
    {"Form1", "kwButtons_H2", 105, 33,
     "caption=Sobre\n"
     "font=Times New Roman;11.25;b\n"
     "cgradient=0x00000000\n"
     "mode=0\n"
     "value=0\n"
     "image=res:kw_sobre\n"
     "imgsize=24\n"
     "cback=0x0080FFFF\n"},
    {"Form1", "kwButtons_H1", 185, 33,
     "caption=Sair\n"
     "font=Times New Roman;12;b\n"
     "cgradient=0x00000000\n"
     "mode=0\n"
     "value=0\n"
     "image=res:kw_sair\n"
     "imgsize=24\n"
     "cback=0x008080FF\n"},
    {"Ajuda", "kwButtons_H1", 97, 65,
     "caption=Retornar\n"
     "font=Times New Roman;12;b\n"
     "mode=0\n"
     "value=0\n"
     "imgalign=4\n"
     "image=res:kw_retornar\n"
     "imgsize=32\n"
     "cback=0x8000000F\n"},
    {"sobre", "kwButtons_H2", 169, 81,
     "caption=Visitar servidor KORVO\n"
     "font=Times New Roman;11.25;b\n"
     "mode=0\n"
     "value=0\n"
     "imgalign=4\n"
     "image=res:kw_korvo\n"
     "imgsize=32\n"
     "cback=0x00FFC0C0\n"},
    {"sobre", "kwButtons_H1", 97, 81,
     "caption=Retornar\n"
     "font=Times New Roman;12;b\n"
     "mode=0\n"
     "value=0\n"
     "imgalign=4\n"
     "image=res:kw_retornar\n"
     "imgsize=32\n"
     "cback=0x008080FF\n"},
}};

}  // namespace

std::span<const ButtonInstance> ButtonInstances() { return kInstances; }

const ButtonInstance* FindButtonInstance(std::string_view window, std::string_view name) {
  for (const auto& i : kInstances)
    if (i.window == window && i.name == name) return &i;
  return nullptr;
}

}  // namespace orv::buttons
