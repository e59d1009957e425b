// Page 2: conversion of a recording into a menu's prompt file.
#pragma once

class QComboBox;
class QWidget;

namespace quorvel {

struct ConvertPage {
    QComboBox* promptList = nullptr;  // cbNomeArquivo
};

ConvertPage buildConvertPage(QWidget* page);

}  // namespace quorvel
