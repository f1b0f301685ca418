#pragma once
// The readable text form of a component stream:
//
//   object frmMain: TfrmMain
//     Caption = 'Menu'
//     Font.Style = [fsBold]
//     Pages.Strings = (
//       'Home'
//       'Second')
//     Picture.Data = picture('art/back.png')
//     object Button1: TOrbButton
//       Left = 10
//     end
//   end
//
// Binary data is written as hex in braces; four functions embed a file that
// stays beside the text: file() (the bytes as they are), data() (a media value:
// size, then bytes), graphic() (a graphic's own data) and picture() (graphic
// class name and data), the graphic kind taken from the file's content.
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/ComponentStream.h"

namespace orb {

class TextFormError : public std::runtime_error {
public:
    TextFormError(int line, const std::string& message)
        : std::runtime_error("line " + std::to_string(line) + ": " + message), line_(line) {}
    int line() const { return line_; }

private:
    int line_;
};

std::string objectTreeToText(const ObjectNode& root);
// baseDir: where the paths of the embedding functions start.
ObjectNode parseTextForm(std::string_view text, const std::filesystem::path& baseDir = {});

// The graphic class and own data a picture file becomes (BMP, PNG, JPEG, GIF, ICO, ANI, EMF).
std::string graphicClassForFile(const std::string& bytes);
std::string graphicOwnData(const std::string& className, const std::string& fileBytes);

}  // namespace orb
