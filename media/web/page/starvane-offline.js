// The page as an installable one that plays offline: it registers the site's service worker
// (starvane-sw.js, which keeps every file of this version for the next visits), and asks the
// browser to keep this site's storage (IndexedDB holds the ships, the settings and the kept
// games).
'use strict';

if ('serviceWorker' in navigator) {
  navigator.serviceWorker.register('starvane-sw.js')
      .catch((error) => console.info('no offline play: ' + error));  // file://, an unsafe address
}

// A browser may clear a site's storage when its disk runs short, unless the site's storage is
// persistent. Asked once a game has ended (the player has a ship worth keeping then), once in
// a browser's tab and once more in the installed app, where browsers grant it most readily.
starvane.keepStorage = () => {
  const storage = navigator.storage;
  if (!storage || !storage.persist || !storage.persisted) return;
  const asked =
      'starvane-storage-asked-' + (matchMedia('(display-mode: browser)').matches ? 'tab' : 'app');
  const askedBefore = () => {
    try {
      if (localStorage.getItem(asked)) return true;
      localStorage.setItem(asked, 'yes');
      return false;
    } catch (error) {
      return true;  // no memory of having asked: never asked again and again
    }
  };
  storage.persisted()
      .then((kept) => (kept || askedBefore() ? kept : storage.persist()))
      .catch(() => {});
};
