// The office objects that the LibreOffice backend hands to the parts of the layer that live in
// their own files (pasting, the menu bar). Plain UNO references, valid for the current connection.
#pragma once

#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/text/XTextViewCursor.hpp>
#include <com/sun/star/uno/Reference.hxx>
#include <com/sun/star/uno/XComponentContext.hpp>

namespace word::libreoffice {

namespace uno = ::com::sun::star::uno;

// The office as a whole.
struct OfficeRefs {
    uno::Reference<uno::XComponentContext> context;
    uno::Reference<::com::sun::star::frame::XDesktop2> desktop;
};

// The Writer document that a Selection belongs to, and its view.
struct ViewRefs {
    uno::Reference<::com::sun::star::frame::XModel> model;
    uno::Reference<::com::sun::star::frame::XController> controller;
    uno::Reference<::com::sun::star::frame::XFrame> frame;
    // The insertion point (the view cursor of the controller).
    uno::Reference<::com::sun::star::text::XTextViewCursor> viewCursor;
};

}  // namespace word::libreoffice
