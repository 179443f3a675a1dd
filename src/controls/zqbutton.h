// The wizard's drawn push button. It keeps every property in a member of its
// own, draws its whole face into an image after each change (fourteen styles;
// style 8 is the one the wizard's windows use), and turns mouse, keyboard,
// focus and window activation into a visual state (0 normal, 1 hot, 2 down)
// and into the Click signal. It also serves as a check button (Mode 1) or an
// option button (Mode 2). Colours are 32-bit values with red in the low byte;
// a value with the high bit set names a system colour. UI thread only.
#pragma once

#include <array>

#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

#include "controls/ButtonPicture.h"
#include "controls/ColourMath.h"

class QAction;
class QMenu;
class PropertyBag;

class zqbutton : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled)
    Q_PROPERTY(bool Value READ Value WRITE setValue)
    Q_PROPERTY(uint BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(int ButtonStyle READ ButtonStyle WRITE setButtonStyle)
    Q_PROPERTY(uint ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(int Mode READ Mode WRITE setMode)
    Q_PROPERTY(QString ToolTip READ ToolTip WRITE setToolTip)
public:
    // A button created in code is a control placed anew: it gets the
    // creation defaults (style 13, the caption "zqbutton1").
    explicit zqbutton(QWidget *parent = nullptr);
    ~zqbutton() override;
    zqbutton(const zqbutton &) = delete;
    zqbutton &operator=(const zqbutton &) = delete;

    // ---- Properties. Every setter notifies propertyChanged under the
    // property's name; those that affect the look redraw.
    colour::Value BackColor() const { return m_backColor; }
    // Also selects the custom colour scheme 3 (not in style 4).
    void setBackColor(colour::Value c);
    int ButtonStyle() const { return m_buttonStyle; }
    // Also resets the colour scheme, the default colours, the focus
    // rectangle and the window region: set colours after the style.
    void setButtonStyle(int style);
    QString Caption() const { return m_caption; }
    // An ampersand marks the access key (Alt + that key).
    void setCaption(const QString &caption);
    int CaptionAlign() const { return m_captionAlign; }
    void setCaptionAlign(int v);
    int DropDownSymbol() const { return m_dropDownSymbol; }
    void setDropDownSymbol(int v);
    bool DropDownSeparator() const { return m_dropDownSeparator; }
    void setDropDownSeparator(bool v);
    int DisabledPictureMode() const { return m_disabledPictureMode; }
    void setDisabledPictureMode(int v);
    // Also switches the widget; a host that switches the widget directly
    // reaches this property too.
    bool Enabled() const { return m_enabled; }
    void setEnabled(bool v);
    QFont Font() const { return m_font; }
    void setFont(const QFont &f);
    colour::Value ForeColor() const { return m_foreColor; }
    void setForeColor(colour::Value c);
    colour::Value ForeColorHover() const { return m_foreColorHover; }
    void setForeColorHover(colour::Value c);
    bool HandPointer() const { return m_handPointer; }
    void setHandPointer(bool v);
    WId hwnd() const { return effectiveWinId(); }
    colour::Value MaskColor() const { return m_maskColor; }
    void setMaskColor(colour::Value c);
    int Mode() const { return m_mode; }
    void setMode(int v);
    QPixmap MouseIcon() const { return m_mouseIcon; }
    void setMouseIcon(const QPixmap &icon);
    // 0 default, 1 arrow, 2 cross, 3 I-beam, 5/15 size all, 6..9 sizing,
    // 10 up arrow, 11 wait, 12 forbidden, 13 busy, 14 what's this, 99 custom.
    int MousePointer() const { return m_mousePointer; }
    void setMousePointer(int v);
    ButtonPicture PictureNormal() const { return m_pictureNormal; }
    void setPictureNormal(const ButtonPicture &p);
    ButtonPicture PictureHot() const { return m_pictureHot; }
    void setPictureHot(const ButtonPicture &p);
    ButtonPicture PictureDown() const { return m_pictureDown; }
    void setPictureDown(const ButtonPicture &p);
    int PictureAlign() const { return m_pictureAlign; }
    void setPictureAlign(int v);
    bool PictureShadow() const { return m_pictureShadow; }
    void setPictureShadow(bool v);
    int PictureEffectOnOver() const { return m_pictureEffectOnOver; }
    void setPictureEffectOnOver(int v);
    int PictureEffectOnDown() const { return m_pictureEffectOnDown; }
    void setPictureEffectOnDown(int v);
    bool PicturePushOnHover() const { return m_picturePushOnHover; }
    void setPicturePushOnHover(bool v);
    int PictureOpacity() const { return m_pictureOpacity; }
    void setPictureOpacity(int v);
    int PictureOpacityOnOver() const { return m_pictureOpacityOnOver; }
    void setPictureOpacityOnOver(int v);
    bool RightToLeft() const { return m_rightToLeft; }
    void setRightToLeft(bool v);
    int CaptionEffects() const { return m_captionEffects; }
    void setCaptionEffects(int v);
    bool ShowFocusRect() const { return m_showFocusRect; }
    void setShowFocusRect(bool v);
    bool UseMaskColor() const { return m_useMaskColor; }
    void setUseMaskColor(bool v);
    // Stored only in check and option mode; on a push button a write only
    // returns the button to its normal look.
    bool Value() const { return m_value; }
    void setValue(bool v);
    QString TooltipTitle() const { return m_tooltipTitle; }
    void setTooltipTitle(const QString &v);
    QString ToolTip() const { return m_toolTip; }
    void setToolTip(const QString &v);
    colour::Value TooltipBackColor() const { return m_tooltipBackColor; }
    void setTooltipBackColor(colour::Value c);
    int ToolTipIcon() const { return m_toolTipIcon; }
    void setToolTipIcon(int v);
    int ToolTipType() const { return m_toolTipType; }
    void setToolTipType(int v);
    int ColorScheme() const { return m_colorScheme; }
    void setColorScheme(int v);

    // ---- Life cycle and persistence.
    // Creation defaults of a control placed anew; displayName becomes the caption.
    void InitProperties(const QString &displayName);
    // A stored control: every key with its default straight into the
    // members, without the setters' side effects.
    void ReadProperties(const PropertyBag &bag, const QFont &ambientFont);
    void WriteProperties(PropertyBag &bag, const QFont &ambientFont) const;

    // ---- Methods.
    // Attaches a drop-down menu shown at Align 0..7 around the button (see
    // showDropDownMenu); a null menu is ignored.
    void SetPopupMenu(QMenu *Menu, int Align, int Flags = 0, QAction *DefaultMenu = nullptr);
    void UnsetPopupMenu();
    void OpenWebsite(const QString &sAddress);
    void About();
    // A key the host routes to the button as its access key (13 and 27 for
    // a default or cancel button): clicks, toggles a check button.
    void AccessKeyPress(int KeyAscii);
    // The access key the caption gives (lower case), or a null character.
    QChar accessKey() const { return m_accessKey; }
    // The host's "display as default" look.
    void setDisplayAsDefault(bool v);
    bool DisplayAsDefault() const { return m_displayAsDefault; }

    // ---- Drawing engine.
    void RedrawButton();
    void SetButtonRegion();
    void ResetColorScheme();
    void SetDefaultColours();
    static colour::Value TranslateColour(colour::Value c) { return colour::translate(c); }
    static colour::Value ShiftColour(colour::Value c, float factor) { return colour::shift(c, factor); }
    static colour::Value MeanColour(colour::Value a, colour::Value b) { return colour::mean(a, b); }
    // Pixel primitives on the face image, clipped to it; the next repaint
    // replaces what they draw.
    void FillButtonRect(colour::Value c, const QRect &r);
    // One-pixel frame just inside (x, y) .. (x + w, y + h).
    void FrameButtonRect(int x, int y, int w, int h, colour::Value c);
    // One-pixel line from (x1, y1) up to, not including, (x2, y2).
    void DrawButtonLine(int x1, int y1, int x2, int y2, colour::Value c);
    // The four pixels one step inside the corners.
    void SetCornerPixels(colour::Value c);
    // Two-colour ramp over the rectangle at (x, y) of size w x h: direction 0
    // left to right, 1 top to bottom, 2 top-left to bottom-right, 3
    // bottom-left to top-right; channel i of n is c1 + (c2 - c1) * i / n.
    void PaintGradient(int x, int y, int w, int h, colour::Value c1, colour::Value c2, int direction);

    // ---- Run-time state, for hosts and tests.
    int ButtonState() const { return m_buttonState; }
    bool MouseIsOver() const { return m_mouseIsOver; }
    bool MouseIsDown() const { return m_mouseIsDown; }
    bool SpaceIsDown() const { return m_spaceIsDown; }
    bool HasFocus() const { return m_hasFocus; }
    bool ParentActive() const { return m_parentActive; }
    QRect CaptionRect() const { return m_captionRect; }
    QRect PictureRect() const { return m_pictureRect; }
    QRect SymbolRect() const { return m_symbolRect; }
    // The drawn face, as the widget shows it.
    const QImage &image() const { return m_image; }
    // The button's own tooltip window while one is built.
    QWidget *toolTipWindow() const { return m_toolTipWindow; }
    int redrawCount() const { return m_redraws; }
    QSize sizeHint() const override { return QSize(75, 23); }

signals:
    void Click();
    void DblClick();
    void MouseEnter();
    void MouseLeave();
    // Declared for hosts that look for it; never raised.
    void MouseMove(short Button, short Shift, float X, float Y);
    void MouseUp(short Button, short Shift, float X, float Y);
    void MouseDown(short Button, short Shift, float X, float Y);
    void KeyDown(short KeyCode, short Shift);
    void KeyUp(short KeyCode, short Shift);
    void KeyPress(short KeyAscii);
    void propertyChanged(const QString &name);

protected:
    bool event(QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void hideEvent(QHideEvent *e) override;
    void changeEvent(QEvent *e) override;
    void enterEvent(QEnterEvent *e) override;
    void leaveEvent(QEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void keyReleaseEvent(QKeyEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;

private:
    void notify(const char *name);
    void fontChanged();
    void updateAccessKey();
    void applyCursor();
    void takeDrawingSize();
    void setState(int state);  // repaints when it changed
    void clearOptionGroup();
    void parentActivated(bool active);

    // input
    void handlePress(int button, int shift, float x, float y);
    void handleMove(const QPointF &pos);
    void handleLeave();
    void showDropDownMenu();
    void buildToolTip();
    void destroyToolTip();

    void drawEdge(const QRect &r, int edge);
    void drawFocusRect(const QRect &r);
    colour::Value pixelAt(int x, int y) const;

    // faces
    void DrawStyle0(int state);
    void DrawStyle2(int state);
    void DrawStyle3(int state);
    void DrawStyle4(int state);
    void DrawStyle5(int state);
    void DrawStyle6(int state);
    void DrawStyle7(int state);
    void DrawStyle8(int state);
    void DrawStyle9(int state);
    void DrawStyle10(int state);
    void DrawStyle13(int state);
    void drawStyle0FocusAndDefault(int state);
    void drawStyle8Focus();
    void drawStyle2Rim(const std::array<colour::Value, 8> &colours, bool whiteInner);

    // caption and picture
    void DrawCaptionAndPicture();
    void ComputePictureRect();
    void DrawButtonPicture(const QRect &rect, qint64 shadow);
    void blendPicture(int x, int y, const ButtonPicture &picture, colour::Value mask, qint64 shadow);
    void DrawPictureShadow();
    void DrawCaptionEffects();
    void DrawCaptionText(const QRect &rect, colour::Value c, int dx, int dy);
    void DrawDropDownSymbol(int symbol);
    int textFlags() const;

    // properties
    colour::Value m_backColor = 0;
    int m_buttonStyle = 0;
    QString m_caption;
    int m_captionAlign = 0;
    int m_dropDownSymbol = 0;
    bool m_dropDownSeparator = false;
    int m_disabledPictureMode = 0;
    bool m_enabled = false;
    QFont m_font;
    colour::Value m_foreColor = 0;
    colour::Value m_foreColorHover = 0;
    bool m_handPointer = false;
    colour::Value m_maskColor = 0;
    int m_mode = 0;
    QPixmap m_mouseIcon;
    int m_mousePointer = 0;
    ButtonPicture m_pictureNormal, m_pictureHot, m_pictureDown;
    int m_pictureAlign = 0;
    bool m_pictureShadow = false;
    int m_pictureEffectOnOver = 0;
    int m_pictureEffectOnDown = 0;
    bool m_picturePushOnHover = false;
    int m_pictureOpacity = 0;
    int m_pictureOpacityOnOver = 0;
    bool m_rightToLeft = false;
    int m_captionEffects = 0;
    bool m_showFocusRect = false;
    bool m_useMaskColor = false;
    bool m_value = false;
    QString m_tooltipTitle;
    QString m_toolTip;
    colour::Value m_tooltipBackColor = 0;
    int m_toolTipIcon = 0;
    int m_toolTipType = 0;
    int m_colorScheme = 0;

    // run-time state
    int m_buttonState = 0;
    bool m_mouseIsDown = false;
    bool m_mouseIsOver = false;
    bool m_hasFocus = false;
    bool m_spaceIsDown = false;
    bool m_parentActive = false;
    bool m_displayAsDefault = false;
    int m_lastButton = 0, m_lastShift = 0;
    float m_lastX = 0, m_lastY = 0;
    bool m_popupSet = false, m_popupOpen = false, m_popupShowing = false;
    QPointer<QMenu> m_popupMenu;
    QPointer<QAction> m_popupDefault;
    int m_popupAlign = 0, m_popupFlags = 0;
    QPointer<QWidget> m_toolTipWindow;
    QChar m_accessKey;
    int m_shortcutId = 0;
    bool m_syncingEnabled = false;

    // drawing state
    std::array<unsigned char, 256> m_lightenTable{};
    std::array<unsigned char, 256> m_darkenTable{};
    int m_h = 0, m_w = 0;  // ButtonHeight, ButtonWidth
    QRect m_clientRect;
    QRect m_captionRect, m_pictureRect, m_symbolRect;
    ButtonPicture m_currentPicture;
    colour::Value m_surfaceColour = 0;
    QImage m_image;
    int m_redraws = 0;
};
